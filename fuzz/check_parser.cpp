// The parser against its documented results: an elementary result holds the
// whole trimmed text; a compound result's text is built from its parts; and
// the text form parses back into the same structure when no elementary part
// holds "," or ")", begins with "x(" or "if(", or has blanks at either end.
#include "fuzz/fuzz_checks.h"
#include "logic/parser.h"
#include "logic/text_util.h"

namespace {

// Kinds and elementary texts, bracketed; empty for an unset part.
std::string Shape(const TKorvelSentence& sentence) {
  if (auto* negation = dynamic_cast<const TKorvelDialecticalNegation*>(&sentence))
    return "N[" + Shape(*negation->Negated) + "]";
  if (auto* conditional = dynamic_cast<const TKorvelConditional*>(&sentence)) {
    std::string out = "C[";
    for (const auto& a : conditional->Antecedents) out += Shape(*a) + ";";
    return out + "=>" + Shape(*conditional->Consequent) + "]";
  }
  if (dynamic_cast<const TKorvelElementarySentence*>(&sentence) != nullptr)
    return "E[" + sentence.Text + "]";
  return "";
}

// Whether every compound text is its parts' text form and every flag is
// clear; sets `roundTrips` false when an elementary part cannot round-trip.
std::string CheckTree(const TKorvelSentence& sentence, bool& roundTrips) {
  if (sentence.IsAssumption || sentence.IsIssue || sentence.IsJustified || sentence.IsDefeated)
    return "a parsed sentence carries a flag";
  if (auto* negation = dynamic_cast<const TKorvelDialecticalNegation*>(&sentence)) {
    if (sentence.Text != "x(" + negation->Negated->Text + ")") return "negation text " + sentence.Text;
    return CheckTree(*negation->Negated, roundTrips);
  }
  if (auto* conditional = dynamic_cast<const TKorvelConditional*>(&sentence)) {
    if (conditional->Antecedents.empty()) return "a conditional without antecedents";
    std::string text = "if(";
    for (const auto& a : conditional->Antecedents) text += a->Text + ", ";
    text += conditional->Consequent->Text + ")";
    if (sentence.Text != text) return "conditional text " + sentence.Text + " instead of " + text;
    for (const auto& a : conditional->Antecedents) {
      std::string failure = CheckTree(*a, roundTrips);
      if (!failure.empty()) return failure;
    }
    return CheckTree(*conditional->Consequent, roundTrips);
  }
  if (dynamic_cast<const TKorvelElementarySentence*>(&sentence) == nullptr)
    return "an unset part in a parse result";
  const std::string_view text = sentence.Text;
  if (text.find_first_of(",)") != std::string_view::npos || StartsWith(text, "x(") ||
      StartsWith(text, "if(") || Trim(text) != text)
    roundTrips = false;
  return {};
}

}  // namespace

std::string CheckParser(std::string_view data) {
  const SentencePtr sentence = ParseSentence(data);
  if (!Is<TKorvelElementarySentence>(sentence) && !Is<TKorvelDialecticalNegation>(sentence) &&
      !Is<TKorvelConditional>(sentence))
    return "the result has no kind";
  if (Is<TKorvelElementarySentence>(sentence)) {
    if (sentence->Text != Trim(data)) return "an elementary result does not hold the trimmed text";
    if (!sentence->Variables.empty()) return "an elementary result has variables before a scan";
    // Parsing its own text again gives the same elementary sentence.
    const SentencePtr again = ParseSentence(sentence->Text);
    if (Shape(*again) != Shape(*sentence)) return "an elementary text parses differently again";
    return {};
  }
  bool roundTrips = true;
  std::string failure = CheckTree(*sentence, roundTrips);
  if (!failure.empty()) return failure;
  if (!roundTrips) return {};
  const SentencePtr again = ParseSentence(sentence->Text);
  if (Shape(*again) != Shape(*sentence))
    return "the text form " + sentence->Text + " parses into " + Shape(*again) + " instead of " +
           Shape(*sentence);
  if (again->Text != sentence->Text) return "the text form changes on a second parse";
  return {};
}
