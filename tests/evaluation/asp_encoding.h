// A theory written as a logic program for clingo, from the definition of an
// interpretation alone: a set K of assumption texts whose closure holds no
// text together with its negation and holds the negation of every assumption
// text outside K. (That such a K holds every forced assumption and no
// excluded one follows from the definition, so the program needs neither.)
//
// Facts, over texts numbered by this writer: a(T) T is an assumption;
// r(C, Y) the conditional text C has consequent Y; b(C, Z) Z is a conjunct
// of C; n(T, N) N is the negation of T. Every model shows in(T) for the
// texts of K. The closure is the least one: h/1 is defined by rules, and a
// stable model holds no text without a derivation.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "logic/sentence.h"
#include "logic/theory.h"

namespace asp {

inline const char* kProgram = R"(
{ in(T) } :- a(T).
h(T) :- in(T).
h(Y) :- r(C, Y), h(C), h(Z) : b(C, Z).
:- n(T, N), h(T), h(N).
d(T) :- n(T, N), h(N).
:- a(T), not in(T), not d(T).
#show in/1.
)";

class TAspWriter {
 public:
  explicit TAspWriter(const TKorvelTheory& theory) {
    for (const auto& a : theory.Assumptions) {
      Walk(*a);
      facts_ += "a(" + std::to_string(Number(a->Text)) + ").\n";
    }
  }
  std::string Program() const { return facts_ + kProgram; }
  // Domain heuristic statements that make clingo decide the assumptions in
  // theory order, each "left out" first (with --heuristic=Domain): with
  // backtracking enumeration the models then come in the engine's order.
  std::string OrderHeuristic(const TKorvelTheory& theory) const {
    std::string statements;
    const size_t count = theory.Assumptions.size();
    for (size_t pos = 0; pos < count; ++pos)
      statements += "#heuristic in(" + std::to_string(numbers_.at(theory.Assumptions[pos]->Text)) +
                    "). [" + std::to_string(count - pos) + ", false]\n";
    return statements;
  }
  // The text numbered `number`.
  const std::string& Text(int number) const { return texts_[static_cast<size_t>(number)]; }

 private:
  int Number(const std::string& text) {
    auto [it, added] = numbers_.emplace(text, static_cast<int>(texts_.size()));
    if (added) texts_.push_back(text);
    return it->second;
  }
  void Walk(const TKorvelSentence& sentence) {
    const int self = Number(sentence.Text);
    if (!walked_.emplace(sentence.Text, true).second) return;
    if (auto* negation = dynamic_cast<const TKorvelDialecticalNegation*>(&sentence)) {
      Walk(*negation->Negated);
      facts_ += "n(" + std::to_string(Number(negation->Negated->Text)) + ", " +
                std::to_string(self) + ").\n";
    }
    if (auto* conditional = dynamic_cast<const TKorvelConditional*>(&sentence)) {
      Walk(*conditional->Consequent);
      facts_ += "r(" + std::to_string(self) + ", " +
                std::to_string(Number(conditional->Consequent->Text)) + ").\n";
      for (const auto& conjunct : conditional->Antecedents) {
        Walk(*conjunct);
        facts_ += "b(" + std::to_string(self) + ", " + std::to_string(Number(conjunct->Text)) +
                  ").\n";
      }
    }
  }

  std::map<std::string, int> numbers_;
  std::map<std::string, bool> walked_;
  std::vector<std::string> texts_;
  std::string facts_;
};

}  // namespace asp
