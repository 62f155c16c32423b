// Theories built in code for tests and benchmarks: small named families whose
// interpretations are known, and random theories that mix every kind of
// sentence the evaluation must handle.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "sentence.h"
#include "theory.h"

namespace families {

inline SentencePtr Atom(const std::string& text) { return MakeElementarySentence(text); }

inline SentencePtr Neg(const SentencePtr& sentence) { return MakeDialecticalNegation(sentence); }

inline SentencePtr If(std::vector<SentencePtr> antecedents, SentencePtr consequent) {
  auto conditional = std::make_shared<TKorvelConditional>();
  conditional->Antecedents = std::move(antecedents);
  conditional->Consequent = std::move(consequent);
  RebuildText(*conditional);
  RebuildVariables(*conditional);
  return conditional;
}

// An attack: if(from, x(to)).
inline SentencePtr Attack(const std::string& from, const std::string& to) {
  return If({Atom(from)}, Neg(Atom(to)));
}

inline void Assume(TKorvelTheory& theory, const SentencePtr& sentence) {
  sentence->IsAssumption = true;
  theory.Assumptions.push_back(sentence);
}

inline std::string Indexed(const char* name, size_t i) { return name + std::to_string(i); }

// p_i, q_i, if(p_i, x(q_i)), if(q_i, x(p_i)) for i = 1..k: 2^k interpretations.
inline TKorvelTheory Pairs(size_t k) {
  TKorvelTheory theory;
  for (size_t i = 1; i <= k; ++i) {
    Assume(theory, Atom(Indexed("p", i)));
    Assume(theory, Atom(Indexed("q", i)));
    Assume(theory, Attack(Indexed("p", i), Indexed("q", i)));
    Assume(theory, Attack(Indexed("q", i), Indexed("p", i)));
  }
  return theory;
}

// Pairs(k) plus if(q_i, x(p_{i+1})): k + 1 interpretations.
inline TKorvelTheory Ladder(size_t k) {
  TKorvelTheory theory = Pairs(k);
  for (size_t i = 1; i < k; ++i) Assume(theory, Attack(Indexed("q", i), Indexed("p", i + 1)));
  return theory;
}

// k disjoint three-cycles of attacks a_i -> b_i -> c_i -> a_i: no interpretation.
inline TKorvelTheory OddCycles(size_t k) {
  TKorvelTheory theory;
  for (size_t i = 1; i <= k; ++i) {
    const std::string a = Indexed("a", i), b = Indexed("b", i), c = Indexed("c", i);
    Assume(theory, Atom(a));
    Assume(theory, Atom(b));
    Assume(theory, Atom(c));
    Assume(theory, Attack(a, b));
    Assume(theory, Attack(b, c));
    Assume(theory, Attack(c, a));
  }
  return theory;
}

// n elementary assumptions with random attacks and supports between them,
// some conditionals with two or three conjuncts, and an occasional attack or
// support on a conditional.
inline TKorvelTheory Random(size_t n, unsigned variant) {
  std::mt19937 random(variant);
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  TKorvelTheory theory;
  for (size_t i = 0; i < n; ++i) Assume(theory, Atom(Indexed("s", i)));
  const size_t links = n + n / 2;
  std::vector<SentencePtr> conditionals;
  for (size_t l = 0; l < links; ++l) {
    std::vector<SentencePtr> conjuncts;
    const size_t count = pick(10) < 7 ? 1 : 2 + pick(2);
    for (size_t c = 0; c < count; ++c) conjuncts.push_back(Atom(Indexed("s", pick(n))));
    SentencePtr target = Atom(Indexed("s", pick(n)));
    if (!conditionals.empty() && pick(8) == 0) target = conditionals[pick(conditionals.size())];
    SentencePtr consequent = pick(3) < 2 ? Neg(target) : target;
    conditionals.push_back(If(std::move(conjuncts), std::move(consequent)));
    Assume(theory, conditionals.back());
  }
  return theory;
}

}  // namespace families
