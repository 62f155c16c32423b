#include "theory_storage.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr size_t kMessageEntries = 10;

// Reads a file's bytes as the program reads the scratch file.
TNormalizedTheory ReadBack(const TKorvelFile& written, bool parseSentences) {
  TKorvelFile loaded;
  loaded.LoadFromText(written.FileBytes());
  return ReadAndNormalize(loaded, parseSentences);
}

// Whether one sentence, alone in its section, reads back as one sentence whose
// normal form is a fixed point. Its text may change once by parsing ("x( a )"
// typed becomes the negation "x(a)"), as every read does.
bool StoredAlone(const SentencePtr& sentence, bool asAssumption, bool parseSentences) {
  TKorvelTheory alone;
  (asAssumption ? alone.Assumptions : alone.Issues).push_back(sentence);
  TKorvelFile file;
  WriteTheory(alone, file);
  const TNormalizedTheory once = ReadBack(file, parseSentences);
  const size_t assumptions = once.Theory.Assumptions.size(), issues = once.Theory.Issues.size();
  if (assumptions + issues != 1 || (assumptions == 1) != asAssumption) return false;
  return ReadBack(once.File, parseSentences).File.Text == once.File.Text;
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
  // A theory not read yet (sentences just typed) may change once by parsing;
  // it is stored when nothing is lost and that form is a fixed point.
  if (readBack.Theory.Assumptions.size() == assumptions.size() &&
      readBack.Theory.Issues.size() == issues.size() &&
      ReadBack(readBack.File, parseSentences).File.Text == readBack.File.Text)
    return check;

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
