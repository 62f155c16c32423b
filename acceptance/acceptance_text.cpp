#include "acceptance/acceptance_text.h"

namespace {

char Letter(TReach reach, char every) {
  switch (reach) {
    case TReach::All: return every;
    case TReach::Some: return static_cast<char>(every - 'A' + 'a');
    case TReach::None: break;
  }
  return '-';
}

const char* Extent(TReach reach) {
  switch (reach) {
    case TReach::All: return "all";
    case TReach::Some: return "some";
    case TReach::None: break;
  }
  return "none";
}

}  // namespace

std::string AcceptanceLetters(const TTextAcceptance& acceptance) {
  return {Letter(acceptance.Justified, 'J'), Letter(acceptance.Defeated, 'D')};
}

std::string GroupedNumber(uint64_t number) {
  std::string digits = std::to_string(number);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string AcceptancePhrase(const TTextAcceptance& acceptance, std::optional<uint64_t> count) {
  const std::string number = count ? GroupedNumber(*count) + " " : "";
  std::string phrase = "justified in ";
  switch (acceptance.Justified) {
    case TReach::All:
      phrase += count == 1 ? "the only interpretation" : "all " + number + "interpretations";
      break;
    case TReach::Some:
      phrase += (count ? "some of the " : "some ") + number + "interpretations";
      break;
    case TReach::None:
      phrase += count && *count > 1 ? "none of the " + number + "interpretations" : "no interpretation";
      break;
  }
  return phrase + ", defeated in " + Extent(acceptance.Defeated);
}

void AppendAcceptanceReport(const TAcceptance& acceptance, const std::vector<std::string>& texts,
                            std::vector<std::string>& lines) {
  lines.push_back(kAcceptanceHeading);
  if (acceptance.Stopped) {
    lines.insert(lines.end(), {kAcceptanceStoppedLine, ""});
    return;
  }
  if (!acceptance.HasInterpretation) {
    lines.insert(lines.end(), {kNoInterpretationLine, ""});
    return;
  }
  if (acceptance.InterpretationCount)
    lines.push_back("OVER " + GroupedNumber(*acceptance.InterpretationCount) +
                    (*acceptance.InterpretationCount == 1 ? " DIALECTICAL INTERPRETATION"
                                                          : " DIALECTICAL INTERPRETATIONS"));
  struct TSection {
    const char* Heading;
    bool (*Wanted)(const TTextAcceptance&);
  };
  const TSection sections[] = {
      {"JUSTIFIED IN EVERY INTERPRETATION", [](const TTextAcceptance& a) { return a.Justified == TReach::All; }},
      {"JUSTIFIED IN SOME BUT NOT EVERY INTERPRETATION", [](const TTextAcceptance& a) { return a.Justified == TReach::Some; }},
      {"DEFEATED IN EVERY INTERPRETATION", [](const TTextAcceptance& a) { return a.Defeated == TReach::All; }},
      {"DEFEATED IN SOME BUT NOT EVERY INTERPRETATION", [](const TTextAcceptance& a) { return a.Defeated == TReach::Some; }},
      {"NEITHER JUSTIFIED NOR DEFEATED IN ANY INTERPRETATION",
       [](const TTextAcceptance& a) { return a.Justified == TReach::None && a.Defeated == TReach::None; }},
  };
  for (const TSection& section : sections) {
    lines.push_back(std::string("    ") + section.Heading);
    for (size_t k = 0; k < texts.size() && k < acceptance.Texts.size(); ++k)
      if (section.Wanted(acceptance.Texts[k])) lines.push_back("        " + texts[k]);
  }
  lines.push_back("");
}
