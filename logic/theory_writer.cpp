// The writer of theory files in normal form, and the read-and-normalise cycle.
#include <unordered_set>

#include "logic/theory.h"

namespace {

// Keeps the first entry of every text, in order.
void RemoveLaterDuplicates(TListOfKorvelSentences& list) {
  std::unordered_set<std::string_view> seen;
  TListOfKorvelSentences kept;
  kept.reserve(list.size());
  for (auto& sentence : list)
    if (seen.insert(sentence->Text).second) kept.push_back(sentence);
  list.swap(kept);
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

}  // namespace

void WriteSentence(std::string& out, const TKorvelSentence& sentence) {
  AppendLine(out, "<SENTENCE>");
  if (AsKind<TKorvelElementarySentence>(&sentence) != nullptr) {
    AppendLine(out, "<ELEMENTARYSENTENCE>");
    AppendLine(out, sentence.Text);
    AppendLine(out, "</ELEMENTARYSENTENCE>");
  } else if (auto* negation = AsKind<TKorvelDialecticalNegation>(&sentence)) {
    AppendLine(out, "<DIALECTICALNEGATION>");
    WriteSentence(out, *negation->Negated);
    AppendLine(out, "</DIALECTICALNEGATION>");
  } else if (auto* conditional = AsKind<TKorvelConditional>(&sentence)) {
    AppendLine(out, "<CONDITIONAL>");
    AppendLine(out, "<ANTECEDENT>");
    for (const auto& antecedent : conditional->Antecedents) WriteSentence(out, *antecedent);
    AppendLine(out, "</ANTECEDENT>");
    AppendLine(out, "<CONSEQUENT>");
    WriteSentence(out, *conditional->Consequent);
    AppendLine(out, "</CONSEQUENT>");
    AppendLine(out, "</CONDITIONAL>");
  }
  AppendLine(out, "</SENTENCE>");
}

std::string WriteSentence(std::string prefix, const SentencePtr& sentence) {
  WriteSentence(prefix, *sentence);
  return prefix;
}

void WriteTheory(TKorvelTheory& theory, TKorvelFile& file) {
  RemoveLaterDuplicates(theory.Assumptions);
  RemoveLaterDuplicates(theory.Issues);
  std::string out = "<KORVEL>\r\n<THEORY>\r\n\r\n";
  for (const auto& a : theory.Assumptions) {
    if (!a->IsAssumption) continue;
    WriteSentence(out, *a);
    out += "\r\n";
  }
  out += "</THEORY>\r\n<ISSUES>\r\n\r\n";
  for (const auto& i : theory.Issues) {
    if (!i->IsIssue) continue;
    WriteSentence(out, *i);
    out += "\r\n";
  }
  out += "</ISSUES>\r\n</KORVEL>\r\n";
  file.Text = std::move(out);
}

TNormalizedTheory ReadAndNormalize(const TKorvelFile& loaded, bool parseSentences, TReadProgress* progress,
                                   TReadStop* stop) {
  TNormalizedTheory result;
  result.File = loaded;
  TakeTheoryText(result.Theory, result.File);
  ReadTheory(result.Theory, parseSentences, stop, progress);
  result.Theory.Text.clear();  // only the reader needs it
  WriteTheory(result.Theory, result.File);
  return result;
}
