#include "logic/theory_storage.h"

#include <algorithm>
#include <unordered_set>

#include "logic/parser.h"
#include "logic/text_util.h"

namespace {

constexpr size_t kMessageEntries = 10;

// Reads a file's bytes as the program reads the scratch file.
TNormalizedTheory ReadBack(const TKorvelFile& written, bool parseSentences) {
  TKorvelFile loaded;
  loaded.LoadFromText(written.FileBytes());
  return ReadAndNormalize(loaded, parseSentences);
}

// The text a sentence has after a faithful write and read: elementary texts
// trimmed and, when parsing, parsed; compound texts rebuilt from those.
std::string ReadText(const TKorvelSentence& sentence, bool parseSentences) {
  if (auto* negation = AsKind<TKorvelDialecticalNegation>(&sentence))
    return "x(" + ReadText(*negation->Negated, parseSentences) + ")";
  if (auto* conditional = AsKind<TKorvelConditional>(&sentence)) {
    std::string text = "if(";
    for (const auto& a : conditional->Antecedents) text += ReadText(*a, parseSentences) + ", ";
    return text + ReadText(*conditional->Consequent, parseSentences) + ")";
  }
  const std::string trimmed(Trim(sentence.Text));
  return parseSentences ? ParseSentence(trimmed)->Text : trimmed;
}

// Whether a read back holds exactly the expected texts and its normal form is
// a fixed point.
bool ReadsBackAs(const TNormalizedTheory& readBack, const std::vector<std::string>& assumptions,
                 const std::vector<std::string>& issues, bool parseSentences) {
  auto texts = [](const TListOfKorvelSentences& list) {
    std::vector<std::string> out;
    for (const auto& s : list) out.push_back(s->Text);
    return out;
  };
  return texts(readBack.Theory.Assumptions) == assumptions && texts(readBack.Theory.Issues) == issues &&
         ReadBack(readBack.File, parseSentences).File.Text == readBack.File.Text;
}

// Whether one sentence reads back with its read text and leaves the sentences
// around it alone: it is written between two probe sentences of its own
// section, with two probe issues (or assumptions) in the other section, since
// a tag in a text can also move where the next section starts.
bool StoredAlone(const SentencePtr& sentence, bool asAssumption, bool parseSentences) {
  const std::string text = ReadText(*sentence, parseSentences);
  std::vector<std::string> probes;
  for (int n = 0; probes.size() < 4; ++n)
    if (std::string probe = "probe " + std::to_string(n); probe != text) probes.push_back(probe);
  auto probe = [](const std::string& probeText, bool assumption) {
    SentencePtr made = MakeElementarySentence(probeText);
    (assumption ? made->IsAssumption : made->IsIssue) = true;
    return made;
  };
  TKorvelTheory context;
  context.Assumptions = {probe(probes[0], true), probe(probes[1], true)};
  context.Issues = {probe(probes[2], false), probe(probes[3], false)};
  auto& own = asAssumption ? context.Assumptions : context.Issues;
  own.insert(own.begin() + 1, sentence);
  TKorvelFile file;
  WriteTheory(context, file);
  std::vector<std::string> assumptions{probes[0], probes[1]}, issues{probes[2], probes[3]};
  auto& ownTexts = asAssumption ? assumptions : issues;
  ownTexts.insert(ownTexts.begin() + 1, text);
  return ReadsBackAs(ReadBack(file, parseSentences), assumptions, issues, parseSentences);
}

// The entries WriteTheory writes (flagged, first of each text) that a read
// keeps: an issue with an assumption's text is read as the assumption only.
TListOfKorvelSentences Written(const TListOfKorvelSentences& list, bool assumptions,
                               const TListOfKorvelSentences& writtenAssumptions = {}) {
  std::unordered_set<std::string_view> seen;
  for (const auto& a : writtenAssumptions) seen.insert(a->Text);
  TListOfKorvelSentences out;
  std::unordered_set<std::string_view> own;
  for (const auto& sentence : list) {
    if (!own.insert(sentence->Text).second) continue;
    if (!(assumptions ? sentence->IsAssumption : sentence->IsIssue)) continue;
    if (seen.insert(sentence->Text).second) out.push_back(sentence);
  }
  return out;
}

}  // namespace

std::string TStorageCheck::Message() const {
  if (Unstorable.empty()) return {};
  std::string message =
      "These sentences cannot be stored in a theory file: their texts hold tags of the file "
      "format, and the file would read back without them or changed. Change or delete them "
      "before saving.";
  const size_t shown = std::min(Unstorable.size(), kMessageEntries);
  for (size_t i = 0; i < shown; ++i) message += "\n" + Unstorable[i];
  if (Unstorable.size() > shown)
    message += "\n(and " + std::to_string(Unstorable.size() - shown) + " more)";
  return message;
}

TStorageCheck CheckTheoryStorage(const TKorvelTheory& theory, const TKorvelFile& written,
                                 bool parseSentences) {
  TStorageCheck check;
  const TNormalizedTheory readBack = ReadBack(written, parseSentences);
  if (readBack.File.Text == written.Text) return check;

  const TListOfKorvelSentences assumptions = Written(theory.Assumptions, true);
  const TListOfKorvelSentences issues = Written(theory.Issues, false, assumptions);
  // A theory not read yet (sentences just typed) may change once by being
  // read: texts trimmed and parsed, equal texts merged. It is stored when the
  // read back holds exactly those texts and is a fixed point.
  std::vector<std::string> assumptionTexts, issueTexts;
  std::unordered_set<std::string> seen;
  for (const auto& sentence : assumptions) {
    std::string text = ReadText(*sentence, parseSentences);
    if (seen.insert(text).second) assumptionTexts.push_back(std::move(text));
  }
  for (const auto& sentence : issues) {
    std::string text = ReadText(*sentence, parseSentences);
    if (seen.insert(text).second) issueTexts.push_back(std::move(text));
  }
  if (ReadsBackAs(readBack, assumptionTexts, issueTexts, parseSentences)) return check;

  for (const auto& sentence : assumptions)
    if (!StoredAlone(sentence, true, parseSentences)) check.Unstorable.push_back(sentence->Text);
  for (const auto& sentence : issues)
    if (!StoredAlone(sentence, false, parseSentences)) check.Unstorable.push_back(sentence->Text);
  if (!check.Unstorable.empty()) return check;

  // Only together do they fail: name what the read back lacks.
  std::unordered_set<std::string_view> present;
  for (const auto& s : readBack.Theory.Assumptions) present.insert(s->Text);
  for (const auto& s : readBack.Theory.Issues) present.insert(s->Text);
  for (const auto* list : {&assumptions, &issues})
    for (const auto& sentence : *list)
      if (present.count(sentence->Text) == 0) check.Unstorable.push_back(sentence->Text);
  if (check.Unstorable.empty())
    for (const auto* list : {&assumptions, &issues})
      for (const auto& sentence : *list) check.Unstorable.push_back(sentence->Text);
  return check;
}
