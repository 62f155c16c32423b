#include "evaluation/interpretation_list.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <unordered_map>

TInterpretationList::TInterpretationList(TListOfKorvelSentences table) : table_(std::move(table)) {
  if (table_.size() > std::numeric_limits<uint32_t>::max())
    throw std::length_error("too many sentences for an interpretation list");
}

TInterpretationList TInterpretationList::FromLists(const TListOfListOfKorvelSentences& lists) {
  TInterpretationList result;
  std::unordered_map<const TKorvelSentence*, size_t> positionOf;
  std::vector<size_t> members;
  for (const auto& list : lists) {
    members.clear();
    for (const auto& sentence : list) {
      auto [it, added] = positionOf.emplace(sentence.get(), result.table_.size());
      if (added) result.table_.push_back(sentence);
      members.push_back(it->second);
    }
    result.Add({}, members);
  }
  return result;
}

TInterpretationList TInterpretationList::WithTable(TListOfKorvelSentences table) const {
  if (table.size() != table_.size()) throw std::invalid_argument("a table of another size");
  TInterpretationList list = *this;
  list.table_ = std::move(table);
  return list;
}

uint32_t TInterpretationList::Index(size_t position) const {
  if (position >= table_.size()) throw std::out_of_range("interpretation member outside the table");
  return static_cast<uint32_t>(position);
}

void TInterpretationList::Add(std::span<const size_t> forced, std::span<const size_t> taken) {
  for (auto part : {forced, taken})
    for (size_t position : part) Index(position);  // all checked before anything changes
  const bool samePart =
      !forcedStarts_.empty() && forced_.size() - forcedStarts_.back() == forced.size() &&
      std::equal(forced.begin(), forced.end(), forced_.begin() + static_cast<std::ptrdiff_t>(forcedStarts_.back()),
                 [](size_t position, uint32_t index) { return position == index; });
  if (!samePart) {
    forcedStarts_.push_back(forced_.size());
    for (size_t position : forced) forced_.push_back(Index(position));
  }
  AddChoices(taken);
}

void TInterpretationList::AddWithSameForced(std::span<const size_t> taken) {
  for (size_t position : taken) Index(position);
  if (forcedStarts_.empty()) forcedStarts_.push_back(forced_.size());
  AddChoices(taken);
}

void TInterpretationList::AddChoices(std::span<const size_t> taken) {
  if (starts_.empty()) starts_.push_back(0);
  size_t shared = 0;
  if (size() % kCheckpoint != 0)
    while (shared < last_.size() && shared < taken.size() && last_[shared] == taken[shared]) ++shared;
  last_.resize(shared);
  for (size_t k = shared; k < taken.size(); ++k) {
    last_.push_back(Index(taken[k]));
    chosen_.push_back(last_.back());
  }
  starts_.push_back(chosen_.size());
  shared_.push_back(static_cast<uint32_t>(shared));
  forcedOf_.push_back(static_cast<uint32_t>(forcedStarts_.size() - 1));
}

void TInterpretationList::clear() {
  forced_.clear();
  forcedStarts_.clear();
  forcedOf_.clear();
  chosen_.clear();
  starts_.clear();
  shared_.clear();
  last_.clear();
}

void TInterpretationList::ChosenPositions(size_t index, std::vector<uint32_t>& chosen) const {
  chosen.clear();
  for (size_t k = index - index % kCheckpoint; k <= index; ++k) {
    chosen.resize(shared_[k]);
    chosen.insert(chosen.end(), chosen_.begin() + static_cast<std::ptrdiff_t>(starts_[k]),
                  chosen_.begin() + static_cast<std::ptrdiff_t>(starts_[k + 1]));
  }
}

std::span<const uint32_t> TInterpretationList::ForcedOf(size_t index) const {
  const size_t part = forcedOf_[index];
  const size_t first = forcedStarts_[part];
  const size_t last = part + 1 < forcedStarts_.size() ? forcedStarts_[part + 1] : forced_.size();
  return std::span<const uint32_t>(forced_).subspan(first, last - first);
}

size_t TInterpretationList::MemberCount(size_t index) const {
  return ForcedOf(index).size() + shared_[index] + (starts_[index + 1] - starts_[index]);
}

TListOfKorvelSentences TInterpretationList::At(size_t index) const {
  if (index >= size()) throw std::out_of_range("no such interpretation");
  TListOfKorvelSentences list;
  list.reserve(MemberCount(index));
  ForEachMember(index, [&list](const SentencePtr& sentence) { list.push_back(sentence); });
  return list;
}

TListOfListOfKorvelSentences TInterpretationList::ToLists() const {
  TListOfListOfKorvelSentences lists;
  lists.reserve(size());
  for (size_t i = 0; i < size(); ++i) lists.push_back(At(i));
  return lists;
}

bool TInterpretationList::operator==(const TListOfListOfKorvelSentences& lists) const {
  if (lists.size() != size()) return false;
  for (size_t i = 0; i < size(); ++i) {
    if (lists[i].size() != MemberCount(i)) return false;
    size_t k = 0;
    bool same = true;
    ForEachMember(i, [&](const SentencePtr& sentence) { same = same && sentence == lists[i][k++]; });
    if (!same) return false;
  }
  return true;
}

bool TInterpretationList::operator==(const TInterpretationList& other) const {
  if (other.size() != size()) return false;
  for (size_t i = 0; i < size(); ++i)
    if (At(i) != other.At(i)) return false;
  return true;
}
