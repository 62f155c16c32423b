// Small text helpers shared by the parser and the theory file code.
// Positions in the algorithms are 1-based; these helpers use 0-based offsets
// and std::string_view::npos for "absent".
#pragma once

#include <string>
#include <string_view>

// Blanks are every character with a code of 32 or less (bytes read unsigned).
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}
inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}
