#include "reasoning/interpretations_closure.h"

#include <cassert>

TIncrementalClosure::TIncrementalClosure(const TTheoryIndex& index, bool keepTrail)
    : index_(index),
      present_(index.TextCount(), 0),
      bases_(index.TextCount(), 0),
      missing_(index.Rules().size()),
      keepTrail_(keepTrail) {
  for (size_t r = 0; r < missing_.size(); ++r)
    missing_[r] = static_cast<int>(index.Rules()[r].Conjuncts.size());
}

void TIncrementalClosure::AddBase(int id) {
  ++bases_[static_cast<size_t>(id)];
  if (keepTrail_) trail_.push_back(~id);
  Derive(id);
}

void TIncrementalClosure::Derive(int id) {
  const auto& rules = index_.Rules();
  work_.clear();
  work_.push_back(id);
  while (!work_.empty()) {
    const int fact = work_.back();
    work_.pop_back();
    if (Contains(fact)) continue;
    Insert(fact);
    // The fact as a conditional: it fires at once when nothing is missing.
    int own = index_.RuleOf(fact);
    if (own >= 0 && missing_[static_cast<size_t>(own)] == 0)
      work_.push_back(rules[static_cast<size_t>(own)].Consequent);
    // The fact as a conjunct of waiting rules.
    for (int r : index_.Waiting(fact)) {
      const auto& rule = rules[static_cast<size_t>(r)];
      if (--missing_[static_cast<size_t>(r)] == 0 && Contains(rule.Conditional))
        work_.push_back(rule.Consequent);
    }
  }
}

void TIncrementalClosure::Insert(int id) {
  present_[static_cast<size_t>(id)] = 1;
  if (keepTrail_) trail_.push_back(id);
  int negation = index_.Negation(id);
  if (negation >= 0 && Contains(negation)) ++conflicts_;
  int negated = index_.Negated(id);
  if (negated >= 0 && Contains(negated)) ++conflicts_;
}

void TIncrementalClosure::Erase(int id) {
  present_[static_cast<size_t>(id)] = 0;
  int negation = index_.Negation(id);
  if (negation >= 0 && Contains(negation)) --conflicts_;
  int negated = index_.Negated(id);
  if (negated >= 0 && Contains(negated)) --conflicts_;
  for (int r : index_.Waiting(id)) ++missing_[static_cast<size_t>(r)];
}

void TIncrementalClosure::UndoTo(size_t mark) {
  assert(keepTrail_);
  while (trail_.size() > mark) {
    int entry = trail_.back();
    trail_.pop_back();
    if (entry < 0) {
      --bases_[static_cast<size_t>(~entry)];
    } else {
      Erase(entry);
    }
  }
}

std::vector<int> TIncrementalClosure::EnteredSince(size_t mark) const {
  assert(keepTrail_);
  std::vector<int> entered;
  for (size_t i = mark; i < trail_.size(); ++i)
    if (trail_[i] >= 0) entered.push_back(trail_[i]);
  return entered;
}

bool TIncrementalClosure::Derivable(int id) const {
  if (bases_[static_cast<size_t>(id)] > 0) return true;
  for (int r : index_.Producers(id)) {
    const auto& rule = index_.Rules()[static_cast<size_t>(r)];
    if (missing_[static_cast<size_t>(r)] == 0 && Contains(rule.Conditional)) return true;
  }
  return false;
}

void TIncrementalClosure::RemoveBase(int id, std::vector<int>* lost) {
  assert(!keepTrail_);
  if (--bases_[static_cast<size_t>(id)] > 0) return;
  const auto& rules = index_.Rules();
  // Take out the base and everything whose derivation may have passed
  // through a fact taken out (a rule that stops firing takes its consequent).
  std::vector<int> removed;
  std::vector<int> pending{id};
  while (!pending.empty()) {
    const int fact = pending.back();
    pending.pop_back();
    if (!Contains(fact) || bases_[static_cast<size_t>(fact)] > 0) continue;
    int own = index_.RuleOf(fact);
    if (own >= 0 && missing_[static_cast<size_t>(own)] == 0)
      pending.push_back(rules[static_cast<size_t>(own)].Consequent);
    for (int r : index_.Waiting(fact)) {
      const auto& rule = rules[static_cast<size_t>(r)];
      if (missing_[static_cast<size_t>(r)] == 0 && Contains(rule.Conditional))
        pending.push_back(rule.Consequent);
    }
    Erase(fact);
    removed.push_back(fact);
  }
  // Put back what still follows from what is left; chaining from it brings
  // back everything else that does.
  for (int fact : removed)
    if (!Contains(fact) && Derivable(fact)) Derive(fact);
  if (lost != nullptr)
    for (int fact : removed)
      if (!Contains(fact)) lost->push_back(fact);
}
