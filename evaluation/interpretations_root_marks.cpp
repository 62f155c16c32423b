// The marks of the top-level sentences for many interpretations that share
// their forced part: the forced part is closed once, and each interpretation
// takes back only the choices after the beginning it shares with the one
// before and adds its own, so only the texts that leave or enter the closure
// are looked at. See interpretations_engine.h.
#include <algorithm>

#include "reasoning/interpretations_closure.h"
#include "evaluation/interpretations_engine.h"

bool TInterpretationEngine::FollowRootMarks(const TInterpretationList& list,
                                            const std::function<void(TRootMarks)>& baseline,
                                            const std::function<void(size_t, TChangedMarks)>& visit,
                                            const TEvaluationControl* control) {
  if (index_.Ambiguous() || list.Table().size() != theory_.Assumptions.size() ||
      index_.AssumptionIds().size() != theory_.Assumptions.size())
    return false;
  for (size_t pos = 0; pos < theory_.Assumptions.size(); ++pos)
    if (list.Table()[pos] != theory_.Assumptions[pos]) return false;

  // Each top-level sentence's text and the text of its negation, as
  // MarkStatuses looks them up (interned first: the closure must not see
  // the index grow); and which sentences a text entering the closure touches.
  std::vector<int> ids, negations;
  for (const auto* section : {&theory_.Assumptions, &theory_.Issues})
    for (const auto& root : *section) ids.push_back(index_.IdOf(*root));
  for (int id : ids) negations.push_back(index_.Negation(id));
  const size_t texts = index_.TextCount();
  std::vector<std::vector<size_t>> touched(texts);
  for (size_t r = 0; r < ids.size(); ++r) {
    touched[static_cast<size_t>(ids[r])].push_back(r);
    if (negations[r] >= 0) touched[static_cast<size_t>(negations[r])].push_back(r);
  }

  TIncrementalClosure closure(index_, true);
  auto marksOf = [&](size_t r) {
    uint8_t marks = closure.Contains(ids[r]) ? kJustified : 0;
    if (negations[r] >= 0 && closure.Contains(negations[r])) marks |= kDefeated;
    return marks;
  };
  const std::vector<int>& assumptionIds = index_.AssumptionIds();
  std::vector<uint8_t> current(ids.size(), 0);
  std::vector<std::pair<size_t, uint8_t>> changed;
  std::vector<size_t> seenIn(ids.size(), 0);
  std::span<const uint32_t> forced;
  // The closure's trail mark after the forced part and the first j chosen
  // assumptions of the previous interpretation: the next one, which mostly
  // begins with the same choices, goes back only to where it differs.
  std::vector<size_t> marks;
  std::vector<uint32_t> chosen, previous;
  for (size_t k = 0; k < list.size(); ++k) {
    if (StopRequested(control)) return false;
    const std::span<const uint32_t> own = list.ForcedPositions(k);
    if (k == 0 || !std::equal(own.begin(), own.end(), forced.begin(), forced.end())) {
      closure.UndoTo(0);
      for (uint32_t pos : own) closure.AddBase(assumptionIds[pos]);
      forced = own;
      marks.assign(1, closure.Mark());
      previous.clear();
      for (size_t r = 0; r < ids.size(); ++r) current[r] = marksOf(r);
      baseline(current);
    }
    list.ChosenPositions(k, chosen);
    size_t same = 0;
    while (same < previous.size() && same < chosen.size() && previous[same] == chosen[same]) ++same;
    const std::vector<int> left = closure.EnteredSince(marks[same]);
    closure.UndoTo(marks[same]);
    marks.resize(same + 1);
    for (size_t j = same; j < chosen.size(); ++j) {
      closure.AddBase(assumptionIds[chosen[j]]);
      marks.push_back(closure.Mark());
    }
    changed.clear();
    for (const std::vector<int>& moved : {left, closure.EnteredSince(marks[same])})
      for (int id : moved)
        for (size_t r : touched[static_cast<size_t>(id)]) {
          if (seenIn[r] == k + 1) continue;
          seenIn[r] = k + 1;
          const uint8_t now = marksOf(r);
          if (now == current[r]) continue;
          changed.emplace_back(r, now);
          current[r] = now;
        }
    visit(k, changed);
    previous.swap(chosen);
  }
  return true;
}
