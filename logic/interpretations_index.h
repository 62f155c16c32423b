// The texts of a theory interned to dense integer ids, with what the
// evaluation needs to know about each text: the id of its dialectical
// negation, the rule it fires when it is a conditional in a closure, and which
// rules wait for it as a conjunct.
//
// A closure depends only on texts when every sentence object that can enter a
// closure (an assumption, or a consequent of such a conditional, and so on)
// behaves like every other object with the same text. Texts that break this
// (an elementary sentence reading "if(a, b)" beside a real conditional
// if(a, b), or two conditionals whose parts split the same text differently)
// make the index ambiguous; the engine then closes lists object by object.
#pragma once

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sentence.h"
#include "theory.h"

// What a conditional text does in a closure: once the text and all its
// distinct conjuncts are present, the consequent is added.
struct TClosureRule {
  int Conditional = -1;
  std::vector<int> Conjuncts;  // distinct ids
  int Consequent = -1;
};

class TTheoryIndex {
 public:
  // Indexes the parts of every assumption and issue. The theory's sentences
  // must outlive the index and keep their texts (ids are views into them).
  explicit TTheoryIndex(const TKorvelTheory& theory);

  // --- texts
  int Find(std::string_view text) const;
  // The id of a text, interning it when new (its bytes must outlive the index).
  int Intern(std::string_view text);
  int IdOf(const TKorvelSentence& sentence);  // by object when known, else by text
  size_t TextCount() const { return texts_.size(); }
  std::string_view Text(int id) const { return texts_[static_cast<size_t>(id)]; }
  // Id of "x(" + text + ")", or -1 when no such text occurs.
  int Negation(int id) const { return negation_[static_cast<size_t>(id)]; }
  // Id of the sentence this text negates, or -1 when it is no "x(...)".
  int Negated(int id) const { return negated_[static_cast<size_t>(id)]; }

  // --- rules
  bool Ambiguous() const { return ambiguous_; }
  const std::vector<TClosureRule>& Rules() const { return rules_; }
  // Index into Rules() of the rule of a conditional text, or -1.
  int RuleOf(int id) const { return ruleOf_[static_cast<size_t>(id)]; }
  // Rules that have the text as a conjunct / as their consequent.
  const std::vector<int>& Waiting(int id) const { return waiting_[static_cast<size_t>(id)]; }
  const std::vector<int>& Producers(int id) const { return producers_[static_cast<size_t>(id)]; }
  // Whether a sentence object is one the rules were taken from (so a closure
  // starting from it follows the rules exactly).
  bool IsIndexedMember(const TKorvelSentence& sentence) const;

  // --- the theory's assumptions, in order, by id
  const std::vector<int>& AssumptionIds() const { return assumptionIds_; }

 private:
  void InternParts(const SentencePtr& root);
  void LinkNegations();
  void IndexRules(const TKorvelTheory& theory);

  std::unordered_map<std::string_view, int> ids_;
  std::vector<std::string_view> texts_;
  std::vector<int> negation_, negated_;
  std::unordered_map<const TKorvelSentence*, int> objectIds_;

  bool ambiguous_ = false;
  std::vector<TClosureRule> rules_;
  std::vector<int> ruleOf_;
  std::vector<std::vector<int>> waiting_, producers_;
  std::unordered_set<const TKorvelSentence*> members_;
  std::vector<int> assumptionIds_;
};
