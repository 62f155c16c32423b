// Abstract argumentation frameworks as other argumentation tools exchange
// them, and their readers and writers:
//   i23  the competition's numeric format: a line "p af N", then one attack
//        "A B" per line between the arguments 1..N; "#" starts a comment line;
//   apx  facts "arg(a)." and "att(a,b).", one or more per line, "%" comments;
//   tgf  one argument per line, a line "#", then one attack "a b" per line.
//
// Reading is strict: anything the format does not allow is an error naming
// the line, never a guess. An attack given twice is kept once. Argument
// names become sentence texts (see framework_theory.h), so a name that a
// theory file or the sentence parser would read differently (tag brackets,
// parentheses, commas, control characters, surrounding blanks) is refused.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The largest framework file read, in bytes, and the most arguments an "i23"
// header may declare. Larger input is refused, not read into memory.
inline constexpr size_t kMaxFrameworkFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxFrameworkArguments = 1000000;

enum class TFrameworkFormat { I23, Apx, Tgf };

struct TArgumentationFramework {
  std::vector<std::string> Arguments;  // names, in order of declaration
  // Attacks (attacker, attacked) as indexes into Arguments, in order of
  // first appearance, each pair once.
  std::vector<std::pair<size_t, size_t>> Attacks;

  // Index of a name; nothing when it is no argument.
  std::optional<size_t> IndexOf(std::string_view name) const;
};

// A framework file that is malformed. Line is 1-based; 0 when the fault is not
// on one line (a missing header, say). what() is the bare description.
class TFrameworkError : public std::runtime_error {
 public:
  TFrameworkError(size_t line, const std::string& what) : std::runtime_error(what), Line(line) {}
  size_t Line;
};

// The format's short name ("i23", "apx", "tgf") and back.
std::string_view FrameworkFormatName(TFrameworkFormat format);
std::optional<TFrameworkFormat> FrameworkFormatFromName(std::string_view name);
// The format a file name's extension stands for: ".af" and ".i23" for i23,
// ".apx", ".tgf"; nothing for other names.
std::optional<TFrameworkFormat> FrameworkFormatOfPath(std::string_view path);
// The format a text looks like: its first line that is no comment is a
// "p af" header (i23) or an "arg(" / "att(" fact (apx); otherwise a line "#"
// makes it tgf; nothing when it looks like none of them.
std::optional<TFrameworkFormat> GuessFrameworkFormat(std::string_view text);

// Why a name cannot be an argument's sentence text; empty when it can.
std::string ArgumentNameProblem(std::string_view name);

// Reads a framework; throws TFrameworkError. A NUL byte anywhere is an error.
TArgumentationFramework ReadFramework(std::string_view text, TFrameworkFormat format);

// Reads a whole stream in chunks; throws TFrameworkError (line 0 for a read
// failure, the line reached for input over kMaxFrameworkFileBytes).
std::string ReadFrameworkText(std::istream& in);

// Writes a framework in a format. i23 numbers the arguments and drops their
// names; apx and tgf write the names as they stand and throw TFrameworkError
// (line 0) for a name the format cannot hold (blanks, and for apx also
// "%", ".", parentheses and commas).
std::string WriteFramework(const TArgumentationFramework& framework, TFrameworkFormat format);
