// How korvel solve prints its answers. Two conventions of the competitions
// are known:
//   2023  (i23 input)      an extension is a line "w A1 A2 ..."; DC answers
//                          YES with a witness line, DS answers NO with one;
//                          enumeration prints one "w" line per extension, or
//                          NO when there is none;
//   2019  (apx, tgf input) an extension is "[A1,A2]", the enumeration one
//                          list "[[A1,A2],[A3]]" ("[]" when there is none),
//                          DC and DS a bare YES or NO.
// A count is a number in both. The printer writes to the stream as the
// answers come, so an enumeration never needs to be held in memory.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string_view>
#include <vector>

#include "frameworks/argumentation_framework.h"

enum class TAnswerStyle { Style2019, Style2023 };

// "2019" or "2023" and back.
std::string_view AnswerStyleName(TAnswerStyle style);
std::optional<TAnswerStyle> AnswerStyleFromName(std::string_view name);
// The convention of the competition that used the format.
TAnswerStyle DefaultAnswerStyle(TFrameworkFormat format);

class TSolveOutput {
 public:
  // `framework` gives the names of the arguments; both must outlive the printer.
  TSolveOutput(std::ostream& out, TAnswerStyle style, const TArgumentationFramework& framework);

  // SE: one extension (arguments as indexes into the framework), or none.
  void SomeExtension(const std::optional<std::vector<size_t>>& extension);

  // EE: BeginExtensions, one Extension call per extension, EndExtensions.
  void BeginExtensions();
  void Extension(const std::vector<size_t>& extension);
  void EndExtensions();

  // DC and DS: the answer and, when the style prints one, the extension that
  // shows it (an extension holding the argument for DC YES, one lacking it
  // for DS NO).
  void Decision(bool yes, const std::optional<std::vector<size_t>>& witness);

  // CE: the number of extensions.
  void Count(std::uintmax_t count);

 private:
  void PrintMembers(const std::vector<size_t>& extension, char open, char separator, char close);

  std::ostream& out_;
  TAnswerStyle style_;
  const TArgumentationFramework& framework_;
  size_t listed_ = 0;  // extensions printed since BeginExtensions
};
