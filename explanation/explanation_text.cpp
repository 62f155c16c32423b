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
    case TStepKind::NoInterpretation:
      break;
  }
  return "no-interpretation";
}
