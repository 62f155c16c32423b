// Small theories decoded from fuzz input for the evaluation and layout
// checks: a few atoms, negations and conditionals (some nested), repeated
// sentences as the same object or as equal copies, and elementary sentences
// whose text reads like a compound one.
#pragma once

#include <string>

#include "fuzz/byte_source.h"
#include "logic/parser.h"
#include "logic/theory.h"

class TTheoryDecoder {
 public:
  explicit TTheoryDecoder(TByteSource& bytes) : bytes_(bytes) {}

  // Up to `maxAssumptions` assumptions and `maxIssues` issues, flags set.
  TKorvelTheory Decode(size_t maxAssumptions, size_t maxIssues) {
    atoms_ = 2 + bytes_.Pick(4);
    TKorvelTheory theory;
    const size_t assumptions = 1 + bytes_.Pick(maxAssumptions);
    for (size_t i = 0; i < assumptions; ++i) {
      SentencePtr sentence;
      const size_t how = bytes_.Pick(16);
      if (how == 0 && !theory.Assumptions.empty()) {
        sentence = theory.Assumptions[bytes_.Pick(theory.Assumptions.size())];
      } else if (how == 1 && !theory.Assumptions.empty()) {
        sentence = ParseSentence(theory.Assumptions[bytes_.Pick(theory.Assumptions.size())]->Text);
      } else if (how == 2 && !theory.Assumptions.empty()) {
        // Elementary, with a compound sentence's text.
        sentence = MakeElementarySentence(theory.Assumptions[bytes_.Pick(theory.Assumptions.size())]->Text);
      } else {
        sentence = ParseSentence(Sentence(2));
      }
      sentence->IsAssumption = true;
      theory.Assumptions.push_back(sentence);
    }
    const size_t issues = bytes_.Pick(maxIssues + 1);
    for (size_t i = 0; i < issues; ++i) {
      SentencePtr sentence = ParseSentence(Sentence(1));
      sentence->IsIssue = true;
      theory.Issues.push_back(sentence);
    }
    return theory;
  }

  std::string Atom() { return std::string(1, static_cast<char>('a' + bytes_.Pick(atoms_))); }

  std::string Literal() {
    switch (bytes_.Pick(6)) {
      case 0: return "x(" + Atom() + ")";
      case 1: return "x(x(" + Atom() + "))";
      default: return Atom();
    }
  }

  std::string Sentence(int depth) {
    switch (bytes_.Pick(depth > 0 ? 6 : 2)) {
      case 0: return Literal();
      case 1: return "x(" + Atom() + ")";
      case 2: return "x(" + Conditional(depth - 1) + ")";
      default: return Conditional(depth - 1);
    }
  }

  std::string Conditional(int depth) {
    std::string text = "if(";
    const size_t antecedents = 1 + bytes_.Pick(3);
    for (size_t i = 0; i < antecedents; ++i) text += Literal() + ", ";
    return text + (bytes_.Pick(3) == 0 ? Sentence(depth) : bytes_.Pick(2) ? "x(" + Atom() + ")" : Atom()) + ")";
  }

 private:
  TByteSource& bytes_;
  size_t atoms_ = 2;
};
