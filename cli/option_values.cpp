#include "cli/option_values.h"

std::optional<std::string> TOptionValues::Value(const std::string& option) const {
  auto it = Values.find(option);
  if (it == Values.end()) return std::nullopt;
  return it->second;
}

std::optional<TOptionValues> ParseOptionValues(const std::vector<std::string>& arguments,
                                               const std::set<std::string>& valued,
                                               const std::set<std::string>& flags,
                                               std::string& problem) {
  TOptionValues options;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      options.Positional.push_back(argument);
    } else if (valued.count(argument)) {
      if (i + 1 == arguments.size()) {
        problem = "option " + argument + " needs a value";
        return std::nullopt;
      }
      // "-a -- -x": the "--" lets a value begin with "-", as it does for
      // positional arguments.
      if (arguments[i + 1] == "--" && i + 2 < arguments.size()) ++i;
      if (!options.Values.emplace(argument, arguments[++i]).second) {
        problem = "option " + argument + " is given more than once";
        return std::nullopt;
      }
    } else if (flags.count(argument)) {
      options.Flags.insert(argument);
    } else {
      problem = "unknown option " + argument;
      return std::nullopt;
    }
  }
  return options;
}
