// The evaluation by rules: forced assumptions in incremental rounds, then the
// pruned depth-first search. See interpretations_engine.h.
#include "interpretations_engine.h"

#include <algorithm>

#include "interpretations_closure.h"

TInterpretationEngine::TInterpretationEngine(const TKorvelTheory& theory)
    : theory_(theory), index_(theory) {}

TEvaluation TInterpretationEngine::Evaluate(size_t limit) {
  return index_.Ambiguous() ? EvaluateObjectByObject(limit) : EvaluateByRules(limit);
}

namespace {

// One position of the search: which way it is being tried.
struct TSearchFrame {
  size_t Depth = 0;
  int Stage = 0;  // 0: leave out next; 1: take in next; 2: undo the taking
  size_t LowerMark = 0;
  bool FinallyOut = false;  // no copy of the text is or will be taken in
};

}  // namespace

TEvaluation TInterpretationEngine::EvaluateByRules(size_t limit) {
  const std::vector<int>& ids = index_.AssumptionIds();
  const size_t textCount = index_.TextCount();
  // The positions of each assumption text, as a list threaded through an array.
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> firstPosition(textCount, kNone), nextPosition(ids.size(), kNone);
  for (size_t pos = ids.size(); pos-- > 0;) {
    nextPosition[pos] = firstPosition[static_cast<size_t>(ids[pos])];
    firstPosition[static_cast<size_t>(ids[pos])] = pos;
  }

  // --- forced assumptions, round by round
  TIncrementalClosure admitted(index_, true);     // closure of the forced ones
  TIncrementalClosure undefeated(index_, false);  // closure of those they leave undefeated
  for (int id : ids) undefeated.AddBase(id);
  std::vector<char> isForced(textCount, 0);
  std::vector<size_t> forcedPositions;
  std::vector<size_t> candidates(ids.size());
  for (size_t pos = 0; pos < ids.size(); ++pos) candidates[pos] = pos;
  std::vector<int> lost;
  for (;;) {
    std::sort(candidates.begin(), candidates.end());
    std::vector<int> admittedNow;
    for (size_t pos : candidates) {
      const int id = ids[pos];
      if (isForced[static_cast<size_t>(id)] || undefeated.ContainsNegationOf(id)) continue;
      isForced[static_cast<size_t>(id)] = 1;
      forcedPositions.push_back(pos);
      admittedNow.push_back(id);
    }
    if (admittedNow.empty()) break;
    const size_t mark = admitted.Mark();
    for (int id : admittedNow) admitted.AddBase(id);
    // Assumptions now defeated leave the undefeated set; assumptions whose
    // negation thereby left its closure are the next round's candidates.
    lost.clear();
    for (int fact : admitted.EnteredSince(mark)) {
      const int defeated = index_.Negated(fact);
      if (defeated < 0) continue;
      for (size_t pos = firstPosition[static_cast<size_t>(defeated)]; pos != kNone; pos = nextPosition[pos])
        undefeated.RemoveBase(ids[pos], &lost);
    }
    candidates.clear();
    for (int fact : lost) {
      const int freed = index_.Negated(fact);
      if (freed < 0) continue;
      for (size_t pos = firstPosition[static_cast<size_t>(freed)]; pos != kNone; pos = nextPosition[pos])
        candidates.push_back(pos);
    }
  }

  TEvaluation result;
  if (!admitted.IsConsistent()) return result;
  TListOfKorvelSentences forced;
  for (size_t pos : forcedPositions) forced.push_back(theory_.Assumptions[pos]);

  // --- undetermined: neither forced nor defeated by the forced ones
  std::vector<size_t> undetermined;
  std::vector<size_t> lastDepth(textCount, 0);
  for (size_t pos = 0; pos < ids.size(); ++pos) {
    const int id = ids[pos];
    if (isForced[static_cast<size_t>(id)] || admitted.ContainsNegationOf(id)) continue;
    lastDepth[static_cast<size_t>(id)] = undetermined.size();
    undetermined.push_back(pos);
  }

  // --- search. `admitted` is the lower bound (forced + taken), `undefeated`
  // the upper bound (forced + taken + not yet decided).
  TIncrementalClosure& lower = admitted;
  TIncrementalClosure& upper = undefeated;
  std::vector<int> takenCopies(textCount, 0);
  std::vector<char> finallyOut(textCount, 0);
  std::vector<size_t> taken;
  std::vector<TSearchFrame> stack{TSearchFrame{}};
  const size_t n = undetermined.size();
  while (!stack.empty()) {
    TSearchFrame& frame = stack.back();
    if (frame.Depth == n) {
      if (result.Interpretations.size() == limit) {
        result.Cut = true;
        break;
      }
      TListOfKorvelSentences interpretation = forced;
      for (size_t pos : taken) interpretation.push_back(theory_.Assumptions[pos]);
      result.Interpretations.push_back(std::move(interpretation));
      stack.pop_back();
      continue;
    }
    const int id = ids[undetermined[frame.Depth]];
    const size_t text = static_cast<size_t>(id);
    if (frame.Stage == 0) {
      frame.Stage = 1;
      lost.clear();
      upper.RemoveBase(id, &lost);
      frame.FinallyOut = takenCopies[text] == 0 && lastDepth[text] == frame.Depth;
      bool viable = true;
      if (frame.FinallyOut) {
        finallyOut[text] = 1;
        viable = upper.ContainsNegationOf(id);
      }
      for (size_t i = 0; viable && i < lost.size(); ++i) {
        const int defeatedBefore = index_.Negated(lost[i]);
        if (defeatedBefore >= 0 && finallyOut[static_cast<size_t>(defeatedBefore)]) viable = false;
      }
      if (viable) stack.push_back(TSearchFrame{frame.Depth + 1, 0, 0, false});
    } else if (frame.Stage == 1) {
      if (frame.FinallyOut) finallyOut[text] = 0;
      upper.AddBase(id);
      frame.Stage = 2;
      frame.LowerMark = lower.Mark();
      lower.AddBase(id);
      if (lower.IsConsistent()) {
        ++takenCopies[text];
        taken.push_back(undetermined[frame.Depth]);
        stack.push_back(TSearchFrame{frame.Depth + 1, 0, 0, false});
      } else {
        lower.UndoTo(frame.LowerMark);
        stack.pop_back();
      }
    } else {
      lower.UndoTo(frame.LowerMark);
      --takenCopies[text];
      taken.pop_back();
      stack.pop_back();
    }
  }
  return result;
}
