// The theory file reader and writer: the normal form is a fixed point unless
// the storage check says which sentences the format cannot hold.
#include <array>
#include <sstream>

#include "fuzz/fuzz_checks.h"
#include "logic/theory_storage.h"

namespace {

constexpr std::array<std::string_view, 17> kTags = {
    "<KORVEL>",      "</KORVEL>",      "<THEORY>",         "</THEORY>",
    "<ISSUES>",      "</ISSUES>",      "<SENTENCE>",       "</SENTENCE>",
    "<ELEMENTARYSENTENCE>",            "</ELEMENTARYSENTENCE>",
    "<DIALECTICALNEGATION>",           "</DIALECTICALNEGATION>",
    "<CONDITIONAL>", "</CONDITIONAL>", "<ANTECEDENT>",     "<CONSEQUENT>",
    "</CONSEQUENT>"};

bool HoldsTag(std::string_view text) {
  for (std::string_view tag : kTags)
    if (text.find(tag) != std::string_view::npos) return true;
  return false;
}

TNormalizedTheory Normalize(std::string_view bytes, bool parse) {
  TKorvelFile loaded;
  loaded.LoadFromText(bytes);
  return ReadAndNormalize(loaded, parse);
}

std::string CheckOnce(std::string_view data, bool parse) {
  const std::string where = parse ? " (parsing)" : " (not parsing)";
  const TNormalizedTheory first = Normalize(data, parse);
  const TNormalizedTheory second = Normalize(first.File.FileBytes(), parse);
  const TStorageCheck check = CheckTheoryStorage(first.Theory, first.File, parse);
  const bool same = second.File.Text == first.File.Text;
  if (check.Stored() && !same)
    return "the normal form is not a fixed point and the storage check saw nothing" + where;
  if (!check.Stored() && same) return "the storage check names sentences of a fixed point" + where;
  for (const std::string& text : check.Unstorable)
    if (!HoldsTag(text)) return "a sentence named as unstorable holds no tag: " + text + where;
  return {};
}

}  // namespace

std::string CheckTheoryFile(std::string_view data) {
  // The stream reader (chunks, NUL cut-off) gives what the text reader gives.
  TKorvelFile fromText, fromStream;
  fromText.LoadFromText(data);
  std::istringstream stream{std::string(data)};
  fromStream.LoadFromStream(stream, "input");
  if (fromStream.Text != fromText.Text) return "the stream reader reads other text";
  for (bool parse : {true, false}) {
    std::string failure = CheckOnce(data, parse);
    if (!failure.empty()) return failure;
  }
  return {};
}
