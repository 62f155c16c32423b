#include "frameworks/framework_theory.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

SentencePtr MakeAssumption(SentencePtr sentence) {
  sentence->IsAssumption = true;
  return sentence;
}

}  // namespace

TKorvelTheory FrameworkToTheory(const TArgumentationFramework& framework) {
  TKorvelTheory theory;
  theory.Assumptions.reserve(framework.Arguments.size() + framework.Attacks.size());
  for (const auto& name : framework.Arguments)
    theory.Assumptions.push_back(MakeAssumption(MakeElementarySentence(name)));
  for (const auto& [from, to] : framework.Attacks) {
    auto attack = std::make_shared<TKorvelConditional>();
    attack->Antecedents.push_back(theory.Assumptions[from]);
    attack->Consequent = MakeDialecticalNegation(theory.Assumptions[to]);
    RebuildText(*attack);
    RebuildVariables(*attack);
    theory.Assumptions.push_back(MakeAssumption(attack));
  }
  return theory;
}

namespace {

// Whether the framework's theory has texts that occur once each and are
// written as they are: distinct plain names, each attack once (as the
// readers give them). Otherwise the sentences are built and written.
bool WritableStraight(const TArgumentationFramework& framework) {
  std::unordered_set<std::string_view> names;
  for (const auto& name : framework.Arguments)
    if (name.empty() || name.find_first_of("(),\r\n") != std::string::npos || !names.insert(name).second)
      return false;
  std::unordered_set<uint64_t> attacks;
  for (const auto& [from, to] : framework.Attacks)
    if (!attacks.insert(static_cast<uint64_t>(from) << 32 | to).second) return false;
  return framework.Arguments.size() < (uint64_t{1} << 32);
}

void AppendLines(std::string& out, std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) {
    out += line;
    out += "\r\n";
  }
}

}  // namespace

TKorvelFile FrameworkTheoryFile(const TArgumentationFramework& framework) {
  TKorvelFile file;
  if (!WritableStraight(framework)) {
    TKorvelTheory theory = FrameworkToTheory(framework);
    WriteTheory(theory, file);
    return file;
  }
  std::string& out = file.Text;
  size_t names = 0;
  for (const auto& name : framework.Arguments) names += name.size();
  out.reserve(64 + framework.Arguments.size() * 72 + names + framework.Attacks.size() * 360 +
              (names / std::max<size_t>(framework.Arguments.size(), 1) + 1) * 2 * framework.Attacks.size());
  out += "<KORVEL>\r\n<THEORY>\r\n\r\n";
  auto elementary = [&out](std::string_view name) {
    AppendLines(out, {"<SENTENCE>", "<ELEMENTARYSENTENCE>", name, "</ELEMENTARYSENTENCE>", "</SENTENCE>"});
  };
  for (const auto& name : framework.Arguments) {
    elementary(name);
    out += "\r\n";
  }
  for (const auto& [from, to] : framework.Attacks) {
    AppendLines(out, {"<SENTENCE>", "<CONDITIONAL>", "<ANTECEDENT>"});
    elementary(framework.Arguments[from]);
    AppendLines(out, {"</ANTECEDENT>", "<CONSEQUENT>", "<SENTENCE>", "<DIALECTICALNEGATION>"});
    elementary(framework.Arguments[to]);
    AppendLines(out, {"</DIALECTICALNEGATION>", "</SENTENCE>", "</CONSEQUENT>", "</CONDITIONAL>", "</SENTENCE>", ""});
  }
  out += "</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KORVEL>\r\n";
  return file;
}

TInterpretationEngine FrameworkEngine(const TArgumentationFramework& framework) {
  // The readers keep each attack once and refuse names with parentheses or
  // commas, which the engine's ids rely on.
  return TInterpretationEngine(framework.Arguments.size(), framework.Attacks);
}

std::optional<TArgumentationFramework> TheoryAsFramework(const TKorvelTheory& theory,
                                                         std::string& problem) {
  TArgumentationFramework framework;
  std::unordered_map<std::string, size_t> index;
  for (const auto& sentence : theory.Assumptions) {
    if (!Is<TKorvelElementarySentence>(sentence) || index.count(sentence->Text)) continue;
    const std::string nameProblem = ArgumentNameProblem(sentence->Text);
    if (!nameProblem.empty()) {
      problem = "the assumption \"" + sentence->Text + "\" cannot be an argument: " + nameProblem;
      return std::nullopt;
    }
    index.emplace(sentence->Text, framework.Arguments.size());
    framework.Arguments.push_back(sentence->Text);
  }
  std::unordered_set<std::string> seen;
  for (const auto& sentence : theory.Assumptions) {
    if (Is<TKorvelElementarySentence>(sentence)) continue;
    const auto attack = As<TKorvelConditional>(sentence);
    const auto negation = attack ? As<TKorvelDialecticalNegation>(attack->Consequent) : nullptr;
    const bool fits =
        negation && attack->Antecedents.size() == 1 && index.count(attack->Antecedents[0]->Text) &&
        index.count(negation->Negated->Text) && Is<TKorvelElementarySentence>(negation->Negated);
    if (!fits) {
      problem = "the assumption \"" + sentence->Text +
                "\" is neither an argument nor an attack \"if(a, x(b))\" between two arguments";
      return std::nullopt;
    }
    if (seen.insert(sentence->Text).second)
      framework.Attacks.emplace_back(index.at(attack->Antecedents[0]->Text),
                                     index.at(negation->Negated->Text));
  }
  return framework;
}

std::vector<size_t> ExtensionOf(const TArgumentationFramework& framework,
                                const TListOfKorvelSentences& interpretation) {
  std::unordered_map<std::string_view, size_t> index;
  for (size_t i = 0; i < framework.Arguments.size(); ++i) index.emplace(framework.Arguments[i], i);
  std::vector<size_t> extension;
  for (const auto& member : interpretation) {
    if (!Is<TKorvelElementarySentence>(member)) continue;
    auto it = index.find(member->Text);
    if (it != index.end()) extension.push_back(it->second);
  }
  std::sort(extension.begin(), extension.end());
  extension.erase(std::unique(extension.begin(), extension.end()), extension.end());
  return extension;
}

std::string FreshArgumentName(const TArgumentationFramework& framework, const std::string& stem) {
  std::unordered_set<std::string_view> names(framework.Arguments.begin(),
                                             framework.Arguments.end());
  std::string name = stem;
  for (size_t n = 1; names.count(name); ++n) name = stem + "_" + std::to_string(n);
  return name;
}
