// The evaluation engine against the exhaustive definition in `reference::`,
// through the public interface only: the interpretations (the same objects in
// the same order), the cut flag under a small limit, and the marks of every
// interpretation kept and of the empty list, from the same stale marks.
#include <unordered_set>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_reference.h"
#include "fuzz/byte_source.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/theory_decoder.h"
#include "tests/evaluation/sentence_objects.h"

namespace {

std::string Describe(const TKorvelTheory& theory) {
  std::string text = "assumptions:";
  for (const auto& a : theory.Assumptions) text += " [" + a->Text + "]";
  text += " issues:";
  for (const auto& i : theory.Issues) text += " [" + i->Text + "]";
  return text;
}

// Marks under both implementations from the same stale marks.
bool SameMarks(const TKorvelTheory& theory, const TListOfKorvelSentences& list, size_t seed) {
  const auto objects = AllObjects(theory);
  auto run = [&](auto mark) {
    for (size_t i = 0; i < objects.size(); ++i) {
      objects[i]->IsJustified = ((seed >> (i % 16)) & 1u) != 0;
      objects[i]->IsDefeated = ((seed >> ((i + 5) % 16)) & 1u) != 0;
    }
    mark();
    std::vector<std::pair<bool, bool>> marks;
    for (auto* o : objects) marks.emplace_back(o->IsJustified, o->IsDefeated);
    return marks;
  };
  return run([&] { reference::MarkStatuses(theory, list); }) == run([&] { MarkStatuses(theory, list); });
}

}  // namespace

std::string CheckEvaluation(std::string_view data) {
  TByteSource bytes(data);
  const size_t limit = 1 + bytes.Pick(4);
  const size_t seed = bytes.Pick(256) * 257;
  TTheoryDecoder decoder(bytes);
  const TKorvelTheory theory = decoder.Decode(9, 2);
  const std::string where = " in " + Describe(theory);

  const TListOfListOfKorvelSentences expected = reference::ComputeInterpretations(theory);
  const TEvaluation all = EvaluateInterpretations(theory, expected.size() + 1);
  if (all.Cut || all.Stopped) return "cut or stopped below the limit" + where;
  if (all.Interpretations != expected) return "other interpretations or order" + where;
  const TEvaluation small = EvaluateInterpretations(theory, limit);
  if (small.Cut != (expected.size() > limit)) return "wrong cut flag" + where;
  const size_t kept = std::min(limit, expected.size());
  if (small.Interpretations !=
      TListOfListOfKorvelSentences(expected.begin(), expected.begin() + static_cast<long>(kept)))
    return "the first interpretations are not those kept under the cap" + where;
  if (ComputeInterpretations(theory) != expected) return "ComputeInterpretations differs" + where;

  for (const auto& interpretation : expected)
    if (!SameMarks(theory, interpretation, seed)) return "other marks" + where;
  if (!SameMarks(theory, {}, seed)) return "other marks for the empty list" + where;
  return {};
}
