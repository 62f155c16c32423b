// Theories built in code for tests and benchmarks: small named families whose
// interpretations are known, and random theories that mix every kind of
// sentence the evaluation must handle.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "logic/parser.h"
#include "logic/sentence.h"
#include "logic/theory.h"

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

// A theory of parsed texts: the assumptions, then the issues.
inline TKorvelTheory Parsed(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues = {}) {
  TKorvelTheory theory;
  for (const auto& text : assumptions) Assume(theory, ParseSentence(text));
  for (const auto& text : issues) {
    theory.Issues.push_back(ParseSentence(text));
    theory.Issues.back()->IsIssue = true;
  }
  return theory;
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

// Elementary assumptions and texts never assumed, supporting each other in
// cycles (which must not derive anything from nothing), attacking each other,
// with conditionals of several conjuncts and attacks on conditionals.
inline TKorvelTheory Tangled(size_t n, unsigned variant) {
  std::mt19937 random(variant);
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  auto text = [&](size_t i) { return i % 3 == 2 ? Indexed("u", i) : Indexed("s", i); };
  TKorvelTheory theory;
  for (size_t i = 0; i < n; ++i)
    if (i % 3 != 2) Assume(theory, Atom(text(i)));
  std::vector<SentencePtr> conditionals;
  for (size_t l = 0; l < n + n / 2; ++l) {
    const size_t from = pick(n), to = pick(n);
    std::vector<SentencePtr> conjuncts{Atom(text(from))};
    if (pick(4) == 0) conjuncts.push_back(Atom(text(pick(n))));
    if (pick(8) == 0) conjuncts.push_back(Atom(text(pick(n))));
    SentencePtr target = Atom(text(to));
    if (!conditionals.empty() && pick(12) == 0) target = conditionals[pick(conditionals.size())];
    const size_t kind = pick(10);
    if (kind < 3) {  // a choice
      conditionals.push_back(If({Atom(text(to))}, Neg(Atom(text(from)))));
      Assume(theory, conditionals.back());
    }
    conditionals.push_back(If(std::move(conjuncts), kind < 6 ? Neg(target) : target));
    Assume(theory, conditionals.back());
  }
  return theory;
}

// An argumentation framework as a theory: every argument a_i an assumption,
// every attack a -> b the assumption if(a, x(b)). The interpretations are
// then exactly the stable extensions. `attacks` attacks drawn at random
// (no self-attack). `reversed` lists everything in reverse order, which
// moves where in theory order a conflict shows.
inline TKorvelTheory AttackFramework(size_t n, size_t attacks, unsigned variant,
                                     bool reversed = false) {
  std::mt19937 random(variant);
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  TKorvelTheory theory;
  for (size_t i = 0; i < n; ++i) Assume(theory, Atom(Indexed("a", i)));
  for (size_t l = 0; l < attacks && n > 1; ++l) {
    const size_t from = pick(n);
    size_t to = pick(n);
    while (to == from) to = pick(n);
    Assume(theory, Attack(Indexed("a", from), Indexed("a", to)));
  }
  if (reversed) std::reverse(theory.Assumptions.begin(), theory.Assumptions.end());
  return theory;
}

// Three arguments c1 -> c2 -> c3 -> c1 where c1 also attacks every argument
// named in `targets`: appended last, they leave no interpretation, which shows
// only once every choice before them is made.
inline void AppendOddCycleAttacking(TKorvelTheory& theory, const std::vector<std::string>& targets) {
  Assume(theory, Atom("c1"));
  Assume(theory, Atom("c2"));
  Assume(theory, Atom("c3"));
  Assume(theory, Attack("c1", "c2"));
  Assume(theory, Attack("c2", "c3"));
  Assume(theory, Attack("c3", "c1"));
  for (const std::string& target : targets) Assume(theory, Attack("c1", target));
}

// k mutually attacking pairs, then an odd cycle attacking every pair.
inline TKorvelTheory PairsThenOddCycle(size_t k) {
  TKorvelTheory theory = Pairs(k);
  std::vector<std::string> targets;
  for (size_t i = 1; i <= k; ++i) {
    targets.push_back(Indexed("p", i));
    targets.push_back(Indexed("q", i));
  }
  AppendOddCycleAttacking(theory, targets);
  return theory;
}

// A w x w grid of arguments, neighbours attacking each other, then (with
// `cycle`) an odd cycle attacking every cell.
inline TKorvelTheory Grid(size_t w, bool cycle) {
  TKorvelTheory theory;
  auto cell = [](size_t r, size_t c) { return "g" + std::to_string(r) + "_" + std::to_string(c); };
  std::vector<std::string> cells;
  for (size_t r = 0; r < w; ++r)
    for (size_t c = 0; c < w; ++c) {
      cells.push_back(cell(r, c));
      Assume(theory, Atom(cells.back()));
    }
  for (size_t r = 0; r < w; ++r)
    for (size_t c = 0; c < w; ++c) {
      if (c + 1 < w) {
        Assume(theory, Attack(cell(r, c), cell(r, c + 1)));
        Assume(theory, Attack(cell(r, c + 1), cell(r, c)));
      }
      if (r + 1 < w) {
        Assume(theory, Attack(cell(r, c), cell(r + 1, c)));
        Assume(theory, Attack(cell(r + 1, c), cell(r, c)));
      }
    }
  if (cycle) AppendOddCycleAttacking(theory, cells);
  return theory;
}

// Random 3-SAT with `vars` variables and `clauses` clauses as a theory: a
// variable is a mutually attacking pair v_i / n_i, a clause an argument that
// attacks itself and is attacked by its three literals. Interpretations are
// the satisfying assignments.
inline TKorvelTheory ThreeSat(size_t vars, size_t clauses, unsigned variant) {
  std::mt19937 random(variant);
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  TKorvelTheory theory;
  for (size_t i = 0; i < vars; ++i) {
    Assume(theory, Atom(Indexed("v", i)));
    Assume(theory, Atom(Indexed("n", i)));
    Assume(theory, Attack(Indexed("v", i), Indexed("n", i)));
    Assume(theory, Attack(Indexed("n", i), Indexed("v", i)));
  }
  for (size_t j = 0; j < clauses; ++j) {
    const std::string clause = Indexed("k", j);
    Assume(theory, Atom(clause));
    Assume(theory, Attack(clause, clause));
    for (int l = 0; l < 3; ++l) Assume(theory, Attack(Indexed(pick(2) ? "v" : "n", pick(vars)), clause));
  }
  return theory;
}

}  // namespace families
