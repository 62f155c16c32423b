// Every sentence object of a theory's trees, once: what a check of the marks
// must look at, since a marking may leave objects it does not collect alone.
#pragma once

#include <unordered_set>
#include <vector>

#include "logic/sentence.h"
#include "logic/theory.h"

inline std::vector<TKorvelSentence*> AllObjects(const TKorvelTheory& theory) {
  std::vector<TKorvelSentence*> objects, stack;
  std::unordered_set<TKorvelSentence*> seen;
  for (const auto* section : {&theory.Assumptions, &theory.Issues})
    for (const auto& s : *section) stack.push_back(s.get());
  while (!stack.empty()) {
    TKorvelSentence* s = stack.back();
    stack.pop_back();
    if (!seen.insert(s).second) continue;
    objects.push_back(s);
    if (auto* n = dynamic_cast<TKorvelDialecticalNegation*>(s)) stack.push_back(n->Negated.get());
    if (auto* c = dynamic_cast<TKorvelConditional*>(s)) {
      stack.push_back(c->Consequent.get());
      for (const auto& a : c->Antecedents) stack.push_back(a.get());
    }
  }
  return objects;
}
