#include <gtest/gtest.h>

#include "acceptance/acceptance_text.h"

namespace {

TEST(AcceptanceText, LettersPhrasesAndNumbers) {
  const TReach all = TReach::All, some = TReach::Some, none = TReach::None;
  struct TCase {
    TTextAcceptance Acceptance;
    std::optional<uint64_t> Count;
    const char* Letters;
    const char* Phrase;
  };
  const TCase cases[] = {
      {{all, none}, 16384, "J-", "justified in all 16,384 interpretations, defeated in none"},
      {{some, some}, 1234567, "jd", "justified in some of the 1,234,567 interpretations, defeated in some"},
      {{none, all}, std::nullopt, "-D", "justified in no interpretation, defeated in all"},
      {{all, none}, 1, "J-", "justified in the only interpretation, defeated in none"},
      {{none, none}, 1, "--", "justified in no interpretation, defeated in none"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(AcceptanceLetters(c.Acceptance), c.Letters);
    EXPECT_EQ(AcceptancePhrase(c.Acceptance, c.Count), c.Phrase);
  }
  EXPECT_EQ(GroupedNumber(0), "0");
  EXPECT_EQ(GroupedNumber(999), "999");
  EXPECT_EQ(GroupedNumber(1000), "1,000");
  EXPECT_EQ(GroupedNumber(1073741824), "1,073,741,824");
}

TEST(AcceptanceText, ReportSectionListsEachSentenceUnderItsAnswers) {
  TAcceptance acceptance;
  acceptance.HasInterpretation = true;
  acceptance.InterpretationCount = 2;
  acceptance.Texts = {{TReach::All, TReach::None}, {TReach::Some, TReach::Some}, {TReach::None, TReach::None}};
  std::vector<std::string> lines;
  AppendAcceptanceReport(acceptance, {"a", "b", "c"}, lines);
  const std::vector<std::string> expected = {
      "ACCEPTANCE OVER ALL INTERPRETATIONS",
      "OVER 2 DIALECTICAL INTERPRETATIONS",
      "    JUSTIFIED IN EVERY INTERPRETATION",
      "        a",
      "    JUSTIFIED IN SOME BUT NOT EVERY INTERPRETATION",
      "        b",
      "    DEFEATED IN EVERY INTERPRETATION",
      "    DEFEATED IN SOME BUT NOT EVERY INTERPRETATION",
      "        b",
      "    NEITHER JUSTIFIED NOR DEFEATED IN ANY INTERPRETATION",
      "        c",
      "",
  };
  EXPECT_EQ(lines, expected);

  lines.clear();
  AppendAcceptanceReport(TAcceptance{}, {"a"}, lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"ACCEPTANCE OVER ALL INTERPRETATIONS",
                                             "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}));
}

}  // namespace
