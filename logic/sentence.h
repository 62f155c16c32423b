// Sentences of the Korvel logic: elementary sentences, dialectical negations
// and conditionals, their canonical text form, their variables, the traversal
// of their parts and the lookups by text on sentence lists.
//
// Sentences are shared objects (std::shared_ptr): the theory's lists, compound
// sentences, interpretations and the diagram may all hold the same object.
// Two sentences are the same sentence when their Text is equal byte for byte;
// only the four status flags belong to the object. The kind of a sentence is
// told by As<>() and Is<>(), which read the kind each object is made with
// (a run-time type test costs far more, and large theories test kinds
// millions of times).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class TKorvelSentence;
using SentencePtr = std::shared_ptr<TKorvelSentence>;

// An ordered list of shared sentence references; it never owns the sentences
// in the sense of deciding their fate, and may hold equal texts.
using TListOfKorvelSentences = std::vector<SentencePtr>;
// A list of sentence lists: the dialectical interpretations.
using TListOfListOfKorvelSentences = std::vector<TListOfKorvelSentences>;

// Root of the sentence classes. Instantiated directly it is an "unset part":
// the initial Negated of a negation and Consequent of a conditional, which is
// none of the three kinds.
enum class TSentenceKind : unsigned char { Unset, Elementary, Negation, Conditional };

class TKorvelSentence {
 public:
  TKorvelSentence() = default;
  virtual ~TKorvelSentence() = default;
  TKorvelSentence(const TKorvelSentence&) = delete;
  TKorvelSentence& operator=(const TKorvelSentence&) = delete;

  TSentenceKind Kind() const { return kind_; }

  std::string Text;
  bool IsAssumption = false;
  bool IsIssue = false;
  bool IsJustified = false;
  bool IsDefeated = false;

 private:
  TSentenceKind kind_ = TSentenceKind::Unset;  // fills the flags' padding

 public:
  std::vector<std::string> Variables;

 protected:
  explicit TKorvelSentence(TSentenceKind kind) : kind_(kind) {}
};

// The kinds are final: a kind test compares the kind made, nothing more.
class TKorvelElementarySentence final : public TKorvelSentence {
 public:
  static constexpr TSentenceKind kKind = TSentenceKind::Elementary;
  TKorvelElementarySentence() : TKorvelSentence(kKind) {}
};

class TKorvelDialecticalNegation final : public TKorvelSentence {
 public:
  static constexpr TSentenceKind kKind = TSentenceKind::Negation;
  TKorvelDialecticalNegation() : TKorvelSentence(kKind) {}
  SentencePtr Negated = std::make_shared<TKorvelSentence>();
};

class TKorvelConditional final : public TKorvelSentence {
 public:
  static constexpr TSentenceKind kKind = TSentenceKind::Conditional;
  TKorvelConditional() : TKorvelSentence(kKind) {}
  TListOfKorvelSentences Antecedents;
  SentencePtr Consequent = std::make_shared<TKorvelSentence>();
};

// Kind tests. They answer null for other kinds and for the unset part.
template <class Kind>
bool Is(const TKorvelSentence* sentence) {
  return sentence != nullptr && sentence->Kind() == Kind::kKind;
}
template <class Kind>
bool Is(const SentencePtr& sentence) {
  return Is<Kind>(sentence.get());
}
template <class Kind>
std::shared_ptr<Kind> As(const SentencePtr& sentence) {
  return Is<Kind>(sentence) ? std::static_pointer_cast<Kind>(sentence) : nullptr;
}
// The same test on a bare sentence: the sentence as its kind, or null.
template <class Kind>
Kind* AsKind(TKorvelSentence* sentence) {
  return Is<Kind>(sentence) ? static_cast<Kind*>(sentence) : nullptr;
}
template <class Kind>
const Kind* AsKind(const TKorvelSentence* sentence) {
  return Is<Kind>(sentence) ? static_cast<const Kind*>(sentence) : nullptr;
}

SentencePtr MakeElementarySentence(std::string text);

// Visits a sentence and every part of its tree, depth first, in the order in
// which collecting its parts meets them: a negation's negated sentence; a
// conditional's consequent, then its antecedents. Duplicates are visited too.
// Iterative, so deep sentences cannot exhaust the stack; `stack` is scratch
// space that callers walking many sentences may reuse.
template <class Visit>
void WalkParts(TKorvelSentence* root, std::vector<TKorvelSentence*>& stack, Visit&& visit) {
  stack.assign(1, root);
  while (!stack.empty()) {
    TKorvelSentence* sentence = stack.back();
    stack.pop_back();
    visit(*sentence);
    if (auto* negation = AsKind<TKorvelDialecticalNegation>(sentence)) {
      stack.push_back(negation->Negated.get());
    } else if (auto* conditional = AsKind<TKorvelConditional>(sentence)) {
      for (auto it = conditional->Antecedents.rbegin(); it != conditional->Antecedents.rend(); ++it)
        stack.push_back(it->get());
      stack.push_back(conditional->Consequent.get());
    }
  }
}

// Recomputes the Text of a negation or conditional from its parts' current
// texts (not recursive); other sentences keep their text.
void RebuildText(TKorvelSentence& sentence);
// Recomputes Variables: the variable scan for an elementary sentence; for a
// compound one the variables of its distinct elementary parts, in the order of
// CollectParts (consequent before antecedents), rescanning each part.
void RebuildVariables(TKorvelSentence& sentence);
// The variable scan of an elementary text: each "<" up to the nearest
// following ">" is one variable, listed once per occurrence.
std::vector<std::string> ScanVariables(std::string_view text);

// Appends the sentence and all its parts, depth first (a negation's negated
// sentence; a conditional's consequent, then its antecedents), skipping texts
// already in the list. Recurses into skipped sentences too.
void CollectParts(const SentencePtr& sentence, TListOfKorvelSentences& list);
// Whether the whole or one of its parts has the part's text.
bool ContainsPart(const SentencePtr& whole, const SentencePtr& part);
// A new negation sharing the given sentence as Negated; text and variables built.
std::shared_ptr<TKorvelDialecticalNegation> MakeDialecticalNegation(const SentencePtr& sentence);
// The text of the dialectical negation of a sentence with the given text.
std::string NegationText(std::string_view text);

// First index whose Text equals, byte for byte; -1 when none.
int IndexOfSentence(const TListOfKorvelSentences& list, const SentencePtr& sentence);
int IndexOfText(const TListOfKorvelSentences& list, std::string_view text);

// CollectParts over many sentences into one list, with a hash of the texts
// already collected so that long lists stay linear. Gives exactly the list
// that repeated CollectParts calls would give.
class TPartsCollector {
 public:
  TPartsCollector() = default;
  // Starts from a list already collected (it may hold equal texts).
  explicit TPartsCollector(TListOfKorvelSentences initial);
  // Collects the sentence and its parts; see Parts().
  void Collect(const SentencePtr& sentence);
  // Whether a text has been collected.
  bool Contains(std::string_view text) const { return seen_.count(text) != 0; }
  const TListOfKorvelSentences& Parts() const { return parts_; }
  // The parts; the collector is empty again.
  TListOfKorvelSentences TakeParts() {
    seen_.clear();
    return std::move(parts_);
  }

 private:
  TListOfKorvelSentences parts_;
  // Views into the texts of the sentences in parts_, which keep them.
  std::unordered_set<std::string_view> seen_;
};
