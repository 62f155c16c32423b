#include "explanation/explanation_text.h"

std::string_view StatusWord(TExplainedStatus status) {
  switch (status) {
    case TExplainedStatus::Justified:
      return "justified";
    case TExplainedStatus::Defeated:
      return "defeated";
    case TExplainedStatus::Open:
      break;
  }
  return "open";
}

namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// What follows an acceptance line: the interpretation its children are about.
std::string InInterpretation(const TExplanationLine& line) {
  if (line.Interpretation > 0)
    return "; in interpretation " + std::to_string(line.Interpretation) + ":";
  if (line.Interpretation == 0) return "; in one that is not listed:";
  return "";
}

}  // namespace

// Texts are quoted: sentences are prose, and the words around them are too.
std::string LineText(const TExplanationLine& line) {
  const std::string s = Quoted(line.Sentence);
  switch (line.Kind) {
    case TStepKind::Member:
      return s + " is justified: it is an assumption of the interpretation";
    case TStepKind::Derived:
      return s + " is justified by " + Quoted(line.Conditional);
    case TStepKind::ShownAbove:
      return s + " is justified (derived above)";
    case TStepKind::Defeated:
      return s + " is defeated: its negation " + Quoted(NegationText(line.Sentence)) +
             " is justified";
    case TStepKind::Open:
      return s + " is open: neither it nor its negation follows";
    case TStepKind::WouldGive:
      return Quoted(line.Conditional) + " would give " + s + ", but these are not justified:";
    case TStepKind::NotJustified:
      return s + " is " + std::string(StatusWord(line.Status));
    case TStepKind::NothingGives:
      return "no conditional has " + s + " or " + Quoted(NegationText(line.Sentence)) +
             " as its consequent";
    case TStepKind::JustifiedInEvery:
      return s + " is justified in every interpretation" + InInterpretation(line);
    case TStepKind::NotJustifiedInEvery:
      return s + " is not justified in every interpretation" +
             (line.Interpretation > 0
                  ? ": interpretation " + std::to_string(line.Interpretation) + " lacks it"
              : line.Interpretation == 0 ? ": one that is not listed lacks it"
                                         : std::string());
    case TStepKind::JustifiedInNone:
      return s + " is justified in none of the interpretations" + InInterpretation(line);
    case TStepKind::NoInterpretationAtAll:
      return s +
             " is neither justified nor defeated: the assumptions have no dialectical "
             "interpretation";
    case TStepKind::NoInterpretation:
      break;
  }
  return s + " is neither justified nor defeated: no dialectical interpretation is shown";
}

std::string_view KindWord(TStepKind kind) {
  switch (kind) {
    case TStepKind::Member:
      return "member";
    case TStepKind::Derived:
      return "derived";
    case TStepKind::ShownAbove:
      return "derived-above";
    case TStepKind::Defeated:
      return "defeated";
    case TStepKind::Open:
      return "open";
    case TStepKind::WouldGive:
      return "would-give";
    case TStepKind::NotJustified:
      return "not-justified";
    case TStepKind::NothingGives:
      return "nothing-gives";
    case TStepKind::JustifiedInEvery:
      return "justified-in-every";
    case TStepKind::NotJustifiedInEvery:
      return "not-justified-in-every";
    case TStepKind::JustifiedInNone:
      return "justified-in-none";
    case TStepKind::NoInterpretationAtAll:
      return "no-interpretation-at-all";
    case TStepKind::NoInterpretation:
      break;
  }
  return "no-interpretation";
}
