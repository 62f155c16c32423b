// A list of dialectical interpretations kept in proportion to what differs
// between them. Every interpretation of an evaluation lists the same forced
// assumptions first and then its chosen ones; the forced part is kept once
// and each interpretation only as the indices of its chosen assumptions into
// a shared table of sentences (usually the theory's assumptions). Found in
// counter order, an interpretation's choices mostly begin as the previous
// one's do, so only every kCheckpoint-th is kept whole and the others as the
// length of the beginning they share with the previous one and the rest.
// Ten thousand interpretations of a theory with thousands of assumptions
// thus cost kilobytes to a few megabytes instead of gigabytes.
//
// An interpretation is materialised on demand (At) or walked member by member
// (ForEachMember); either gives exactly the objects, in exactly the order, of
// the full list it stands for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

#include "logic/sentence.h"

class TInterpretationList {
 public:
  TInterpretationList() = default;
  // An empty list whose interpretations will name sentences of `table` by
  // their positions in it.
  explicit TInterpretationList(TListOfKorvelSentences table);
  // The same interpretations as the full lists (for lists made elsewhere).
  static TInterpretationList FromLists(const TListOfListOfKorvelSentences& lists);

  // Appends an interpretation: the table's sentences at `forced`, then those
  // at `taken`. A forced part equal to the previous interpretation's is not
  // stored again.
  void Add(std::span<const size_t> forced, std::span<const size_t> taken);
  // The same with the previous interpretation's forced part, unlooked at
  // (for a caller that knows it is the same); none when this is the first.
  void AddWithSameForced(std::span<const size_t> taken);

  size_t size() const { return starts_.empty() ? 0 : starts_.size() - 1; }
  bool empty() const { return size() == 0; }
  void clear();
  // How many sentences interpretation `index` holds.
  size_t MemberCount(size_t index) const;
  // Interpretation `index` as a full list.
  TListOfKorvelSentences At(size_t index) const;
  TListOfKorvelSentences operator[](size_t index) const { return At(index); }
  TListOfKorvelSentences front() const { return At(0); }
  // Calls `visit(sentence)` for every member of interpretation `index`, in order.
  template <typename Visit>
  void ForEachMember(size_t index, Visit&& visit) const {
    for (uint32_t k : ForcedOf(index)) visit(table_[k]);
    std::vector<uint32_t> chosen;
    ChosenPositions(index, chosen);
    for (uint32_t k : chosen) visit(table_[k]);
  }
  // The table, and interpretation `index`'s members as positions in it:
  // the forced ones, then the chosen ones.
  const TListOfKorvelSentences& Table() const { return table_; }
  std::span<const uint32_t> ForcedPositions(size_t index) const { return ForcedOf(index); }
  void ChosenPositions(size_t index, std::vector<uint32_t>& chosen) const;
  // Every interpretation as a full list (for tests and small lists).
  TListOfListOfKorvelSentences ToLists() const;

  // The same list with every sentence of the table replaced by `map(sentence)`.
  template <typename Map>
  TInterpretationList Mapped(Map&& map) const {
    TInterpretationList mapped = *this;
    for (SentencePtr& sentence : mapped.table_) sentence = map(sentence);
    return mapped;
  }

  // The same positions naming the sentences of another table of the same
  // size (for a list made before the table's sentences existed). Throws
  // std::invalid_argument when the sizes differ.
  TInterpretationList WithTable(TListOfKorvelSentences table) const;

  // Iteration materialises one interpretation at a time.
  class TIterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = TListOfKorvelSentences;
    using difference_type = std::ptrdiff_t;
    using reference = TListOfKorvelSentences;
    using pointer = void;
    TIterator(const TInterpretationList* list, size_t at) : list_(list), at_(at) {}
    TListOfKorvelSentences operator*() const { return list_->At(at_); }
    TIterator& operator++() {
      ++at_;
      return *this;
    }
    TIterator operator++(int) { return TIterator(list_, at_++); }
    bool operator==(const TIterator& other) const { return at_ == other.at_; }

   private:
    const TInterpretationList* list_;
    size_t at_;
  };
  using iterator = TIterator;
  using const_iterator = TIterator;
  using value_type = TListOfKorvelSentences;
  TIterator begin() const { return {this, 0}; }
  TIterator end() const { return {this, size()}; }

  // The same interpretations, object for object and in order.
  bool operator==(const TListOfListOfKorvelSentences& lists) const;
  bool operator==(const TInterpretationList& other) const;

 private:
  std::span<const uint32_t> ForcedOf(size_t index) const;
  // Appends the chosen members of an interpretation whose forced part is the last one.
  void AddChoices(std::span<const size_t> taken);
  uint32_t Index(size_t position) const;

  TListOfKorvelSentences table_;
  // The distinct forced parts, concatenated: forcedParts_[p] starts at
  // forcedStarts_[p]; interpretation i uses part forcedOf_[i].
  std::vector<uint32_t> forced_;
  std::vector<size_t> forcedStarts_;
  std::vector<uint32_t> forcedOf_;
  // The chosen members of interpretation i are the first shared_[i] of
  // interpretation i - 1's, then chosen_[starts_[i] .. starts_[i + 1]);
  // shared_[i] is 0 for every kCheckpoint-th.
  static constexpr size_t kCheckpoint = 32;
  std::vector<uint32_t> chosen_;
  std::vector<size_t> starts_;
  std::vector<uint32_t> shared_;
  std::vector<uint32_t> last_;  // the chosen members of the last interpretation added
};
