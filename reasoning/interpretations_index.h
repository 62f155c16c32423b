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

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <string_view>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "logic/sentence.h"
#include "logic/theory.h"

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
  // With `control`, a stop request may end the indexing early; the index is
  // then Stopped() and must not be used.
  explicit TTheoryIndex(const TKorvelTheory& theory, const TEvaluationControl* control = nullptr);
  // The index of the theory of an argumentation framework (each argument an
  // elementary assumption, then each attack (a, b) the assumption
  // "if(a, x(b))"), made from the arguments' count and the attacks alone:
  // the same ids, rules and negations as indexing that theory gives, when
  // the arguments' names are distinct texts without parentheses or commas
  // and no attack is listed twice. It holds no texts: Text() is empty, Find()
  // finds nothing, and only the evaluation by rules may use it.
  TTheoryIndex(size_t arguments, std::span<const std::pair<size_t, size_t>> attacks);
  bool Stopped() const { return stopped_; }

  // --- texts
  int Find(std::string_view text) const;
  // The id of a text, interning it when new (its bytes must outlive the index).
  int Intern(std::string_view text);
  int IdOf(const TKorvelSentence& sentence) { return Intern(sentence.Text); }
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
  std::span<const int> Waiting(int id) const { return Slice(waitingStart_, waiting_, id); }
  std::span<const int> Producers(int id) const { return Slice(producerStart_, producers_, id); }
  // Whether a closure starting from this object follows the rules exactly:
  // its text was indexed as one that can enter a closure, and the object
  // behaves as the rule (or the absence of one) for that text says.
  bool FollowsRules(const TKorvelSentence& sentence) const;

  // --- the theory's assumptions, in order, by id
  const std::vector<int>& AssumptionIds() const { return assumptionIds_; }
  // The position among the assumptions indexed of this very object, or -1.
  int AssumptionPosition(const TKorvelSentence* sentence) const;
  // The ids met by WalkParts from the `index`-th sentence indexed (the
  // assumptions, then the issues), when that sentence is `root`; otherwise
  // empty, and the caller looks the texts up itself.
  std::span<const int> WalkIds(size_t index, const TKorvelSentence* root) const;

 private:
  void InternParts(const SentencePtr& root, std::vector<TKorvelSentence*>& stack);
  void LinkNegations();
  void IndexRules(const TKorvelTheory& theory);
  // Rules by conjunct, by consequent and by conditional, from rules_.
  void LinkRules();
  // The rule an object would fire, or false when it is no conditional.
  bool RuleOfObject(const TKorvelSentence& sentence, TClosureRule& rule) const;
  static std::span<const int> Slice(const std::vector<int>& start, const std::vector<int>& items,
                                    int id);

  // Open addressing over the texts: each slot holds an id and a few bits of
  // its text's hash (0 marks an empty slot), so that a lookup touches one
  // compact array and, on a likely match, the text itself.
  struct TSlot {
    int Id = -1;
    uint32_t Tag = 0;
  };
  size_t SlotOf(std::string_view text, size_t hash) const;
  void Grow();
  std::vector<TSlot> slots_ = std::vector<TSlot>(64);
  std::vector<std::string_view> texts_;
  std::vector<int> negation_, negated_;

  bool ambiguous_ = false;
  bool stopped_ = false;
  std::vector<TClosureRule> rules_;
  std::vector<int> ruleOf_;
  std::vector<char> canEnter_;  // per id: some object of the text can enter a closure
  // Rules by conjunct and by consequent, as offsets into flat lists; ids
  // interned after indexing have none.
  std::vector<int> waitingStart_, waiting_, producerStart_, producers_;
  std::vector<int> assumptionIds_;
  std::vector<std::pair<const TKorvelSentence*, int>> assumptionObjects_;  // sorted
  std::vector<const TKorvelSentence*> roots_;
  std::vector<size_t> rootStart_;  // offsets into walkIds_, one more than roots_
  std::vector<int> walkIds_;
};
