// Options that take a value ("-p EE-ST", "--format aba"), for the subcommands
// that read their arguments themselves. A lone "-" is an argument (standard
// input), a lone "--" ends the options; right after an option that takes a
// value it only marks the next argument as that value ("-a -- -x").
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct TOptionValues {
  std::vector<std::string> Positional;
  std::map<std::string, std::string> Values;  // option -> its value
  std::set<std::string> Flags;
  std::optional<std::string> Value(const std::string& option) const;
};

// Nothing, with the reason in `problem`, for an unknown option, an option
// whose value is missing, or an option with a value given twice.
std::optional<TOptionValues> ParseOptionValues(const std::vector<std::string>& arguments,
                                               const std::set<std::string>& valued,
                                               const std::set<std::string>& flags,
                                               std::string& problem);
