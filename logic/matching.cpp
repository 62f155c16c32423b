#include "logic/matching.h"

#include <unordered_map>

#include "logic/parser.h"

TMatchResult MatchSentence(std::string_view pattern, std::string_view target,
                           const std::vector<std::string>& variables) {
  TMatchResult result;
  const size_t n = variables.size();
  result.Bindings.assign(n, std::string());

  // Cut the pattern into the literal pieces around its variables.
  std::vector<std::string_view> pieces;
  std::string_view rest = pattern;
  for (const auto& variable : variables) {
    size_t at = rest.find(variable);
    if (at == std::string_view::npos) return result;
    pieces.push_back(rest.substr(0, at));
    rest.remove_prefix(at + variable.size());
  }
  pieces.push_back(rest);

  if (!pieces[0].empty() && target.substr(0, pieces[0].size()) != pieces[0]) return result;

  std::string_view current = target;
  for (size_t i = 0; i < n; ++i) {
    if (current.size() < pieces[i].size()) return result;
    std::string_view tail = current.substr(pieces[i].size());
    const std::string_view next = pieces[i + 1];
    size_t cut = next.empty() ? tail.size() : tail.find(next);
    if (cut == std::string_view::npos) return result;
    result.Bindings[i] = std::string(tail.substr(0, cut));
    current = tail.substr(cut);
  }
  if (current != pieces[n]) return result;

  // Equal variables must have equal bindings: compare each with the first.
  std::unordered_map<std::string_view, size_t> first;
  for (size_t i = 0; i < n; ++i) {
    auto [it, inserted] = first.emplace(variables[i], i);
    if (!inserted && result.Bindings[it->second] != result.Bindings[i]) return result;
  }

  result.Matched = true;
  return result;
}

SentencePtr InstantiateSentence(TKorvelSentence& sentence, const std::vector<std::string>& bindings) {
  std::string text = sentence.Text;
  RebuildVariables(sentence);
  for (size_t i = 0; i < sentence.Variables.size() && i < bindings.size(); ++i) {
    const std::string& variable = sentence.Variables[i];
    size_t at = text.find(variable);
    if (at == std::string::npos) continue;
    text.replace(at, variable.size(), bindings[i]);
  }
  SentencePtr result = ParseSentence(text);
  RebuildText(*result);
  RebuildVariables(*result);
  return result;
}
