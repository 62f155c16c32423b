// A compact description of a sentence's structure for test expectations:
// E(text) for an elementary sentence, N(...) for a negation,
// C(antecedent; ...; -> consequent) for a conditional, U for an unset part.
#pragma once

#include <string>

#include "logic/sentence.h"

inline std::string Shape(const SentencePtr& s) {
  if (Is<TKorvelElementarySentence>(s)) return "E(" + s->Text + ")";
  if (auto n = As<TKorvelDialecticalNegation>(s)) return "N(" + Shape(n->Negated) + ")";
  if (auto c = As<TKorvelConditional>(s)) {
    std::string out = "C(";
    for (const auto& a : c->Antecedents) out += Shape(a) + "; ";
    return out + "-> " + Shape(c->Consequent) + ")";
  }
  return "U";
}

inline std::string Texts(const TListOfKorvelSentences& list) {
  std::string out;
  for (const auto& s : list) out += (out.empty() ? "" : " | ") + s->Text;
  return out;
}
