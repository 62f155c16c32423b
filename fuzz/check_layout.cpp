// The indexed layout against the plain reference layout of the tests: the
// same calls, elements, drawn sentences and issues added to the theory.
#include <sstream>

#include "diagram/diagram_dump.h"
#include "diagram/diagram_layout.h"
#include "fuzz/byte_source.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/theory_decoder.h"
#include "tests/diagram/reference_layout.h"

namespace {

struct TPrepared {
  TKorvelTheory Theory;
  TListOfKorvelSentences All;
};

// Fresh objects for each layout, since registration changes the theory.
TPrepared Prepare(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues,
                  const std::vector<std::string>& loose) {
  TPrepared prepared;
  for (const auto& text : assumptions) {
    prepared.Theory.Assumptions.push_back(ParseSentence(text));
    prepared.Theory.Assumptions.back()->IsAssumption = true;
  }
  for (const auto& text : issues) {
    prepared.Theory.Issues.push_back(ParseSentence(text));
    prepared.Theory.Issues.back()->IsIssue = true;
  }
  TPartsCollector collector;
  for (const SentencePtr& s : prepared.Theory.Assumptions) collector.Collect(s);
  for (const SentencePtr& s : prepared.Theory.Issues) collector.Collect(s);
  for (const auto& text : loose) collector.Collect(ParseSentence(text));
  prepared.All = collector.TakeParts();
  return prepared;
}

std::string Summary(TDrawContext& context, const TKorvelTheory& theory) {
  std::ostringstream out;
  WriteLayoutLines(context, out);
  out << "elements " << context.Drawing.Elements.size() << "\ndrawn";
  for (const SentencePtr& s : context.DrawnSentences) out << " | " << s->Text;
  out << "\nissues";
  for (const SentencePtr& issue : theory.Issues) out << " | " << issue->Text;
  return out.str();
}

}  // namespace

std::string CheckLayout(std::string_view data) {
  TByteSource bytes(data);
  const bool hideNegations = bytes.Pick(2) == 1;
  const bool structureOnly = bytes.Pick(4) == 0;
  TTheoryDecoder decoder(bytes);
  std::vector<std::string> assumptions, issues, loose;
  const size_t assumptionCount = 1 + bytes.Pick(8);
  for (size_t i = 0; i < assumptionCount; ++i) assumptions.push_back(decoder.Sentence(2));
  for (size_t i = bytes.Pick(4); i > 0; --i) issues.push_back(decoder.Sentence(1));
  for (size_t i = bytes.Pick(3); i > 0; --i) loose.push_back(decoder.Sentence(1));

  TPrepared plain = Prepare(assumptions, issues, loose), indexed = Prepare(assumptions, issues, loose);
  TDrawContext plainContext, indexedContext;
  plainContext.Theory = &plain.Theory;
  indexedContext.Theory = &indexed.Theory;
  plainContext.ShowDialecticalNegations = indexedContext.ShowDialecticalNegations = !hideNegations;
  plainContext.StructureOnly = indexedContext.StructureOnly = structureOnly;
  TReferenceLayout(plainContext).DrawArguments(plain.All);
  DrawArguments(indexedContext, indexed.All, 0, 0);
  if (indexedContext.Truncated) return {};  // the plain layout has no budget
  const std::string expected = Summary(plainContext, plain.Theory);
  const std::string actual = Summary(indexedContext, indexed.Theory);
  if (actual != expected) return "indexed layout:\n" + actual + "\nplain layout:\n" + expected;
  if (indexedContext.RowsUsed != plainContext.RowsUsed) return "other rows used";
  return {};
}
