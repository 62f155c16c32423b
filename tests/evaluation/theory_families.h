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

inline SentencePtr Atom(const std::string& text) {
  return MakeElementarySentence(text);
}

inline SentencePtr Neg(const SentencePtr& sentence) {
  return MakeDialecticalNegation(sentence);
}

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

inline std::string Indexed(const char* name, size_t i) {
  return name + std::to_string(i);
}

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

// n elementary assumptions with random attacks and supports between them:
// mutual attacks (choices), attacks and supports from earlier to later
// assumptions, some with two or three conjuncts, and now and then an attack
// or support on a conditional. `variant` picks the random stream.
inline TKorvelTheory Random(size_t n, unsigned variant) {
  std::mt19937 random(variant);
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  TKorvelTheory theory;
  for (size_t i = 0; i < n; ++i) Assume(theory, Atom(Indexed("s", i)));
  if (n < 2) return theory;
  std::vector<SentencePtr> conditionals;
  auto add = [&](std::vector<SentencePtr> conjuncts, SentencePtr consequent) {
    conditionals.push_back(If(std::move(conjuncts), std::move(consequent)));
    Assume(theory, conditionals.back());
  };
  for (size_t l = 0; l < n; ++l) {
    size_t from = pick(n), to = pick(n);
    while (to == from) to = pick(n);
    if (from > to) std::swap(from, to);
    const size_t kind = pick(8);
    if (kind < 3) {  // a choice between two
      add({Atom(Indexed("s", from))}, Neg(Atom(Indexed("s", to))));
      add({Atom(Indexed("s", to))}, Neg(Atom(Indexed("s", from))));
      continue;
    }
    std::vector<SentencePtr> conjuncts{Atom(Indexed("s", from))};
    if (kind == 3) {
      for (size_t c = 1 + pick(2); c > 0 && from > 0; --c)
        conjuncts.push_back(Atom(Indexed("s", pick(from))));
    }
    SentencePtr target = Atom(Indexed("s", to));
    if (!conditionals.empty() && pick(10) == 0) target = conditionals[pick(conditionals.size())];
    add(std::move(conjuncts), kind < 6 ? Neg(target) : target);
  }
  return theory;
}

// About n top-level sentences and no undetermined assumption: chains of
// attacks a_i -> a_{i+1} (settled round by round, every other one forced),
// supports with two conjuncts, and an issue per group.
inline TKorvelTheory Debate(size_t n) {
  TKorvelTheory theory;
  const size_t groups = n / 5;
  for (size_t i = 0; i < groups; ++i) {
    const std::string a = Indexed("a", i), b = Indexed("b", i);
    Assume(theory, Atom(a));
    // Chains of 1000: a thousand rounds of forcing.
    if ((i + 1) % 1000 != 0) Assume(theory, Attack(a, Indexed("a", i + 1)));
    Assume(theory, Atom(b));
    Assume(theory, If({Atom(a), Atom(b)}, Atom(Indexed("c", i))));
    theory.Issues.push_back(Atom(Indexed("d", i)));
    theory.Issues.back()->IsIssue = true;
  }
  return theory;
}

}  // namespace families
