#include "reasoning/text_groups.h"

#include <string_view>
#include <unordered_map>

std::vector<std::vector<size_t>> GroupsBySharedTexts(const TKorvelTheory& theory) {
  std::unordered_map<std::string_view, size_t> idOf;
  std::vector<size_t> parent;
  auto id = [&](std::string_view text) {
    auto [it, added] = idOf.emplace(text, parent.size());
    if (added) parent.push_back(parent.size());
    return it->second;
  };
  auto find = [&parent](size_t x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
  };
  auto join = [&](size_t a, size_t b) { parent[find(a)] = find(b); };
  const auto& assumptions = theory.Assumptions;
  std::vector<size_t> root(assumptions.size());
  TListOfKorvelSentences parts;
  for (size_t pos = 0; pos < assumptions.size(); ++pos) {
    parts.clear();
    CollectParts(assumptions[pos], parts);
    root[pos] = id(assumptions[pos]->Text);
    for (const auto& part : parts) join(id(part->Text), root[pos]);
  }
  // A text and its negation, when both occur.
  std::vector<std::string_view> texts(idOf.size());
  for (const auto& [text, at] : idOf) texts[at] = text;
  for (std::string_view text : texts) {
    const auto negation = idOf.find(NegationText(text));
    if (negation != idOf.end()) join(idOf.at(text), negation->second);
  }
  std::vector<std::vector<size_t>> groups;
  std::unordered_map<size_t, size_t> groupOf;
  for (size_t pos = 0; pos < assumptions.size(); ++pos) {
    auto [it, added] = groupOf.emplace(find(root[pos]), groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(pos);
  }
  return groups;
}

TKorvelTheory SubTheory(const TKorvelTheory& theory, const std::vector<size_t>& positions) {
  TKorvelTheory sub;
  sub.Assumptions.reserve(positions.size());
  for (size_t pos : positions) sub.Assumptions.push_back(theory.Assumptions[pos]);
  return sub;
}
