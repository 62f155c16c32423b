// Matching and instantiation: a successful match, instantiated with its
// bindings, gives the target back (as the parser reads it) when no binding
// holds "<"; bindings of equal variables are equal.
#include "fuzz/fuzz_checks.h"
#include "logic/matching.h"
#include "logic/parser.h"

std::string CheckMatching(std::string_view data) {
  const size_t cut = data.find('\n');
  const std::string pattern(data.substr(0, cut));
  const std::string target(cut == std::string_view::npos ? std::string_view{} : data.substr(cut + 1));

  auto sentence = MakeElementarySentence(pattern);
  RebuildVariables(*sentence);
  const std::vector<std::string> variables = sentence->Variables;
  const TMatchResult match = MatchSentence(pattern, target, variables);
  if (match.Bindings.size() != variables.size()) return "not one binding per variable";
  if (!match.Matched) return {};
  if (variables.empty() && pattern != target) return "a pattern without variables matched another text";
  for (size_t i = 0; i < variables.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (variables[i] == variables[j] && match.Bindings[i] != match.Bindings[j])
        return "equal variables with different bindings";
  for (const auto& binding : match.Bindings)
    if (binding.find('<') != std::string::npos) return {};

  const SentencePtr instantiated = InstantiateSentence(*sentence, match.Bindings);
  const SentencePtr expected = ParseSentence(target);
  if (instantiated->Text != expected->Text)
    return "instantiated text " + instantiated->Text + " instead of " + expected->Text;
  if (sentence->Variables != variables) return "instantiation changed the pattern's variables";
  return {};
}
