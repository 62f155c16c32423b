// Random theories with cycles of rules that a choice can start: a model of
// the rules' completion may hold such a cycle without its base, which no
// closure does.
#pragma once

#include <random>

#include "tests/evaluation/theory_families.h"

namespace families {

// Random(n, variant) plus, per cycle, if(s_i, c), if(c, d), if(d, c) and an
// attack or support from d on another s_j; some cycles need two conjuncts.
inline TKorvelTheory RandomWithCycles(size_t n, size_t cycles, unsigned variant) {
  TKorvelTheory theory = Random(n, variant);
  std::mt19937 random(variant + 1000);
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  for (size_t k = 0; k < cycles; ++k) {
    const SentencePtr c = Atom(Indexed("c", k)), d = Atom(Indexed("d", k));
    std::vector<SentencePtr> base{Atom(Indexed("s", pick(n)))};
    if (pick(3) == 0) base.push_back(Atom(Indexed("s", pick(n))));
    Assume(theory, If(std::move(base), c));
    Assume(theory, If({c}, d));
    Assume(theory, If({d}, c));
    const SentencePtr target = Atom(Indexed("s", pick(n)));
    Assume(theory, If({d}, pick(3) == 0 ? target : Neg(target)));
  }
  return theory;
}

// A choice between s and r, where r also defeats itself, so only {s} stands;
// r alone would start the cycle c <-> d, and d defeats t.
inline TKorvelTheory CycleBehindAnImpossibleChoice() {
  TKorvelTheory theory;
  for (const char* name : {"s", "r", "t"}) Assume(theory, Atom(name));
  Assume(theory, Attack("s", "r"));
  Assume(theory, Attack("r", "s"));
  Assume(theory, Attack("r", "r"));
  Assume(theory, If({Atom("r")}, Atom("c")));
  Assume(theory, If({Atom("c")}, Atom("d")));
  Assume(theory, If({Atom("d")}, Atom("c")));
  Assume(theory, Attack("d", "t"));
  return theory;
}

}  // namespace families
