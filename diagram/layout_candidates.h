// The candidates of a tree being laid out: the sentence list without the
// texts of the nodes above the current one.
//
// The list is indexed once per text (its first entry, the conditionals whose
// consequent has that text, the entry of its dialectical negation) and each
// text's entry records whether a node above the current one has it, so that
// a node finds its supports and attacks without scanning or copying the list.
// The views in the index point into the sentences' texts, which must not
// change while the layout runs.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "logic/sentence.h"

class TLayoutCandidates {
 public:
  // What the list holds for one text.
  struct TEntry {
    static constexpr size_t kNone = static_cast<size_t>(-1);
    size_t First = kNone;                 // first entry with the text
    std::vector<size_t> ConditionalsFor;  // conditionals with it as consequent
    bool Above = false;                   // a node above the current one has it
    bool NegationLooked = false;          // Negation below is known
    TEntry* Negation = nullptr;           // the entry of x(text), if any
    // What the layout learned of the text, kept so that a text met again in
    // another unfolding is not looked up by its text again.
    int Drawn = -1;                // its drawn index, once registered
    bool AssumptionLooked = false;  // Assumption below is known
    SentencePtr Assumption;         // the theory's assumption with the text
  };

  explicit TLayoutCandidates(const TListOfKorvelSentences& sentences);

  // The entry of a text; null when the list has nothing for it.
  TEntry* Find(std::string_view text);
  // The entry of the text's dialectical negation, or null.
  TEntry* NegationOf(std::string_view text, TEntry* entry);
  // Whether the list holds a sentence with the entry's text.
  static bool Listed(const TEntry* entry) { return entry != nullptr && entry->First != TEntry::kNone; }
  static bool Above(const TEntry* entry) { return entry != nullptr && entry->Above; }
  // The first candidate with the entry's text, or null. The text of `own`
  // counts as not above: it is the text of the node asking, which is still
  // its own candidate. Either entry may be null (a text the list lacks).
  const SentencePtr* Candidate(const TEntry* entry, const TEntry* own) const;
  // The conditionals among the candidates whose consequent has the entry's
  // text, as their list positions, in list order.
  void ConditionalsFor(const TEntry* entry, std::vector<size_t>& out) const;
  // The sentence at a list position, and the entry of its text.
  const SentencePtr& At(size_t position) const { return sentences_[position]; }
  TEntry* EntryAt(size_t position) const { return entryAt_[position]; }
  // The entry of the text of the i-th antecedent of the conditional at a
  // list position (null when the list lacks that text).
  TEntry* AntecedentEntry(size_t position, size_t i) const {
    return antecedentEntries_[firstAntecedent_[position] + i];
  }

  // A node with a listed text starts or stops being above the ones it lays out.
  static void Enter(TEntry* entry) { entry->Above = true; }
  static void Leave(TEntry* entry) { entry->Above = false; }

 private:
  const TListOfKorvelSentences& sentences_;
  std::unordered_map<std::string_view, TEntry> entries_;
  std::vector<TEntry*> entryAt_;  // the entry of each list position's text
  // The antecedents' entries of each conditional of the list, looked up once
  // here rather than each time the conditional is unfolded: those of the
  // conditional at position p start at firstAntecedent_[p].
  std::vector<TEntry*> antecedentEntries_;
  std::vector<size_t> firstAntecedent_;
};
