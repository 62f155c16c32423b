// The marking of statuses, the object-by-object evaluation used for ambiguous
// texts, and the free functions of interpretations.h.
#include "evaluation/interpretations.h"

#include "reasoning/interpretations_closure.h"
#include "evaluation/interpretations_engine.h"
#include "reasoning/object_closure.h"

void TInterpretationEngine::EvaluateObjectByObject() {
  const auto& assumptions = theory_.Assumptions;
  TTextSet closure, inList;
  // Forced assumptions, round by round.
  TListOfKorvelSentences forced;
  std::vector<size_t> forcedPositions, forcedRounds;
  TTextSet forcedTexts;
  for (bool appended = true; appended;) {
    if (StopRequested(control_)) return;
    appended = false;
    ObjectClosure(forced, closure);
    TListOfKorvelSentences undefeated;
    for (const auto& a : assumptions)
      if (!HasNegationIn(closure, a)) undefeated.push_back(a);
    ObjectClosure(undefeated, closure);
    const size_t round = forcedRounds.empty() ? 0 : forcedRounds.back() + 1;
    for (size_t pos = 0; pos < assumptions.size(); ++pos) {
      const auto& a = assumptions[pos];
      if (HasNegationIn(closure, a) || forcedTexts.count(a->Text) != 0) continue;
      forced.push_back(a);
      forcedPositions.push_back(pos);
      forcedRounds.push_back(round);
      forcedTexts.insert(a->Text);
      appended = true;
    }
  }
  if (!ObjectConsistent(forced)) return;
  ObjectClosure(forced, closure);
  TListOfKorvelSentences undetermined;
  std::vector<size_t> undeterminedPositions;
  for (size_t pos = 0; pos < assumptions.size(); ++pos) {
    const auto& a = assumptions[pos];
    if (forcedTexts.count(a->Text) != 0 || HasNegationIn(closure, a)) continue;
    undetermined.push_back(a);
    undeterminedPositions.push_back(pos);
  }
  if (raw_ != nullptr) {
    raw_->Forced = forcedPositions;
    raw_->ForcedRounds = forcedRounds;
    raw_->Undetermined = undeterminedPositions;
  }

  // Every candidate in the counter's order.
  std::vector<bool> bits(undetermined.size(), false);
  std::vector<size_t> taken;
  for (;;) {
    if (StopRequested(control_)) break;
    TListOfKorvelSentences candidate = forced;
    for (size_t i = 0; i < bits.size(); ++i)
      if (bits[i]) candidate.push_back(undetermined[i]);
    if (ObjectConsistent(candidate)) {
      ObjectClosure(candidate, closure);
      inList.clear();
      for (const auto& s : candidate) inList.insert(s->Text);
      bool accepted = true;
      for (const auto& a : assumptions)
        if (inList.count(a->Text) == 0 && !HasNegationIn(closure, a)) accepted = false;
      if (accepted) {
        taken.clear();
        for (size_t i = 0; i < bits.size(); ++i)
          if (bits[i]) taken.push_back(undeterminedPositions[i]);
        if (!Emit(forcedPositions, taken, false)) break;
      }
    }
    // The counter: set the last clear bit, clear the bits after it.
    size_t last = bits.size();
    while (last > 0 && bits[last - 1]) --last;
    if (last == 0) break;
    bits[last - 1] = true;
    for (size_t i = last; i < bits.size(); ++i) bits[i] = false;
  }
}

std::vector<char> TInterpretationEngine::ClosureFlags(const TListOfKorvelSentences& list) {
  // Assumption objects of the theory (what interpretations hold) are known to
  // follow the rules; anything else is checked.
  bool byRules = !index_.Ambiguous();
  std::vector<int> ids;
  for (size_t i = 0; byRules && i < list.size(); ++i) {
    const int pos = index_.AssumptionPosition(list[i].get());
    if (pos >= 0) {
      ids.push_back(index_.AssumptionIds()[static_cast<size_t>(pos)]);
    } else if (index_.FollowsRules(*list[i])) {
      ids.push_back(index_.Find(list[i]->Text));
    } else {
      byRules = false;
    }
  }
  std::vector<char> flags(index_.TextCount(), 0);
  if (byRules) {
    TIncrementalClosure closure(index_, false);
    for (int id : ids) closure.AddBase(id);
    for (size_t id = 0; id < flags.size(); ++id) flags[id] = closure.Contains(static_cast<int>(id));
    return flags;
  }
  TTextSet texts;
  for (const auto& sentence : ObjectClosure(list, texts)) {
    int id = index_.Intern(sentence->Text);
    if (static_cast<size_t>(id) >= flags.size()) flags.resize(static_cast<size_t>(id) + 1, 0);
    flags[static_cast<size_t>(id)] = 1;
  }
  return flags;
}

void TInterpretationEngine::MarkStatuses(const TListOfKorvelSentences& interpretation) {
  RequireTheory();
  const std::vector<char> present = ClosureFlags(interpretation);
  auto inClosure = [&present](int id) {
    return id >= 0 && static_cast<size_t>(id) < present.size() &&
           present[static_cast<size_t>(id)] != 0;
  };
  // Each top-level sentence marks the first object of every text among its
  // parts (as collecting its parts would list them); later objects with the
  // same text are walked through but keep their marks.
  std::vector<size_t> visitedIn(index_.TextCount(), 0);
  std::vector<TKorvelSentence*> stack;
  size_t round = 0;
  auto mark = [&](TKorvelSentence& sentence, int id) {
    const size_t at = static_cast<size_t>(id);
    if (at >= visitedIn.size()) visitedIn.resize(at + 1, 0);
    if (visitedIn[at] == round) return;
    visitedIn[at] = round;
    sentence.IsJustified = inClosure(id);
    sentence.IsDefeated = inClosure(index_.Negation(id));
  };
  for (const auto* section : {&theory_.Assumptions, &theory_.Issues}) {
    for (const auto& root : *section) {
      std::span<const int> ids = index_.WalkIds(round, root.get());
      ++round;
      size_t next = 0;
      WalkParts(root.get(), stack, [&](TKorvelSentence& part) {
        mark(part, next < ids.size() ? ids[next++] : index_.IdOf(part));
      });
    }
  }
}

TEvaluation EvaluateInterpretations(const TKorvelTheory& theory, size_t limit,
                                    TEvaluationControl* control) {
  TInterpretationEngine engine(theory, control);
  TEvaluation result = engine.Evaluate(limit, control);
  return result;
}

TListOfListOfKorvelSentences ComputeInterpretations(const TKorvelTheory& theory) {
  return EvaluateInterpretations(theory).Interpretations.ToLists();
}

void MarkStatuses(const TKorvelTheory& theory, const TListOfKorvelSentences& interpretation) {
  TInterpretationEngine engine(theory);
  engine.MarkStatuses(interpretation);
}
