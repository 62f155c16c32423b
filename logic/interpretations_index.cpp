#include "interpretations_index.h"

#include <algorithm>

namespace {

constexpr int kUnknown = -2;
constexpr int kNoRule = -1;

bool LooksLikeNegation(std::string_view text) {
  return text.size() >= 3 && text.substr(0, 2) == "x(" && text.back() == ')';
}

}  // namespace

TTheoryIndex::TTheoryIndex(const TKorvelTheory& theory) {
  for (const auto& sentence : theory.Assumptions) InternParts(sentence);
  for (const auto& sentence : theory.Issues) InternParts(sentence);
  LinkNegations();
  assumptionIds_.reserve(theory.Assumptions.size());
  for (const auto& sentence : theory.Assumptions)
    assumptionIds_.push_back(objectIds_.at(sentence.get()));
  IndexRules(theory);
}

int TTheoryIndex::Find(std::string_view text) const {
  auto it = ids_.find(text);
  return it == ids_.end() ? -1 : it->second;
}

int TTheoryIndex::Intern(std::string_view text) {
  auto [it, inserted] = ids_.try_emplace(text, static_cast<int>(texts_.size()));
  if (!inserted) return it->second;
  const int id = it->second;
  texts_.push_back(text);
  negation_.push_back(-1);
  negated_.push_back(-1);
  ruleOf_.push_back(-1);
  waiting_.emplace_back();
  producers_.emplace_back();
  // Texts interned after the negations were linked are linked here.
  if (LooksLikeNegation(text)) {
    int inner = Find(text.substr(2, text.size() - 3));
    if (inner >= 0 && negation_[static_cast<size_t>(inner)] < 0) {
      negation_[static_cast<size_t>(inner)] = id;
      negated_[static_cast<size_t>(id)] = inner;
    }
  }
  return id;
}

int TTheoryIndex::IdOf(const TKorvelSentence& sentence) {
  auto it = objectIds_.find(&sentence);
  return it != objectIds_.end() ? it->second : Intern(sentence.Text);
}

bool TTheoryIndex::IsIndexedMember(const TKorvelSentence& sentence) const {
  return members_.count(&sentence) != 0;
}

void TTheoryIndex::InternParts(const SentencePtr& root) {
  // Every object once; shared parts are not walked again.
  std::vector<const TKorvelSentence*> stack{root.get()};
  while (!stack.empty()) {
    const TKorvelSentence* sentence = stack.back();
    stack.pop_back();
    if (objectIds_.count(sentence) != 0) continue;
    objectIds_.emplace(sentence, Intern(sentence->Text));
    if (auto* negation = dynamic_cast<const TKorvelDialecticalNegation*>(sentence)) {
      stack.push_back(negation->Negated.get());
    } else if (auto* conditional = dynamic_cast<const TKorvelConditional*>(sentence)) {
      stack.push_back(conditional->Consequent.get());
      for (const auto& antecedent : conditional->Antecedents) stack.push_back(antecedent.get());
    }
  }
}

void TTheoryIndex::LinkNegations() {
  // Interning the negated text of every "x(...)" text makes Negation() answer
  // for every text whose negation occurs anywhere; the loop also covers the
  // texts it interns itself (x(x(p)) brings in x(p) and then p).
  for (size_t id = 0; id < texts_.size(); ++id) {
    std::string_view text = texts_[id];
    if (!LooksLikeNegation(text)) continue;
    int inner = Intern(text.substr(2, text.size() - 3));
    negated_[id] = inner;
    negation_[static_cast<size_t>(inner)] = static_cast<int>(id);
  }
}

void TTheoryIndex::IndexRules(const TKorvelTheory& theory) {
  // The objects that can be members of a closure: assumptions and, through
  // conditionals, their consequents. Each text must behave the same in all.
  std::vector<int> kind(texts_.size(), kUnknown);
  auto sameRule = [](const TClosureRule& rule, std::vector<int> conjuncts, int consequent) {
    std::vector<int> known = rule.Conjuncts;
    std::sort(known.begin(), known.end());
    std::sort(conjuncts.begin(), conjuncts.end());
    return known == conjuncts && rule.Consequent == consequent;
  };
  for (const auto& assumption : theory.Assumptions) {
    const TKorvelSentence* sentence = assumption.get();
    while (sentence != nullptr && members_.insert(sentence).second) {
      const size_t id = static_cast<size_t>(objectIds_.at(sentence));
      auto* conditional = dynamic_cast<const TKorvelConditional*>(sentence);
      if (conditional == nullptr) {
        if (kind[id] >= 0) ambiguous_ = true;
        if (kind[id] == kUnknown) kind[id] = kNoRule;
        break;
      }
      std::vector<int> conjuncts;
      for (const auto& antecedent : conditional->Antecedents) {
        int c = objectIds_.at(antecedent.get());
        if (std::find(conjuncts.begin(), conjuncts.end(), c) == conjuncts.end())
          conjuncts.push_back(c);
      }
      const int consequent = objectIds_.at(conditional->Consequent.get());
      if (kind[id] == kUnknown) {
        kind[id] = static_cast<int>(rules_.size());
        rules_.push_back({static_cast<int>(id), std::move(conjuncts), consequent});
      } else if (kind[id] == kNoRule ||
                 !sameRule(rules_[static_cast<size_t>(kind[id])], std::move(conjuncts), consequent)) {
        ambiguous_ = true;
      }
      sentence = conditional->Consequent.get();
    }
  }
  for (size_t r = 0; r < rules_.size(); ++r) {
    const TClosureRule& rule = rules_[r];
    ruleOf_[static_cast<size_t>(rule.Conditional)] = static_cast<int>(r);
    for (int c : rule.Conjuncts) waiting_[static_cast<size_t>(c)].push_back(static_cast<int>(r));
    producers_[static_cast<size_t>(rule.Consequent)].push_back(static_cast<int>(r));
  }
}
