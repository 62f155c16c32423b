#include "explanation/closure_record.h"

#include <algorithm>

#include "reasoning/object_closure.h"

TClosureRecord::TClosureRecord(TTheoryIndex& index, const TListOfKorvelSentences& interpretation) {
  if (index.Ambiguous()) {
    CloseObjectByObject(index, interpretation);
    return;
  }
  std::vector<int> members;
  members.reserve(interpretation.size());
  for (const auto& sentence : interpretation) members.push_back(index.Intern(sentence->Text));
  rules_ = &index.Rules();
  CloseByRules(index, members);
}

int TClosureRecord::Conditional(int id) const {
  if (!Contains(id) || producer_[static_cast<size_t>(id)] < 0) return -1;
  return (*rules_)[static_cast<size_t>(producer_[static_cast<size_t>(id)])].Conditional;
}

std::span<const int> TClosureRecord::Conjuncts(int id) const {
  if (!Contains(id) || producer_[static_cast<size_t>(id)] < 0) return {};
  return (*rules_)[static_cast<size_t>(producer_[static_cast<size_t>(id)])].Conjuncts;
}

void TClosureRecord::Enter(int id, int round, int producer) {
  const size_t at = static_cast<size_t>(id);
  if (at >= round_.size()) {
    round_.resize(at + 1, -1);
    producer_.resize(at + 1, -1);
  }
  round_[at] = round;
  producer_[at] = producer;
}

void TClosureRecord::CloseByRules(const TTheoryIndex& index, const std::vector<int>& members) {
  const auto& rules = index.Rules();
  round_.assign(index.TextCount(), -1);
  producer_.assign(index.TextCount(), -1);
  // Per rule, how many of its conjuncts and its conditional are still absent.
  std::vector<int> missing(rules.size());
  for (size_t r = 0; r < rules.size(); ++r)
    missing[r] = static_cast<int>(rules[r].Conjuncts.size()) + 1;

  std::vector<int> frontier, next;
  for (int id : members) {
    if (round_[static_cast<size_t>(id)] >= 0) continue;
    Enter(id, 0, -1);
    frontier.push_back(id);
  }
  for (int round = 0; !frontier.empty(); ++round) {
    next.clear();
    auto fire = [&](int r) {
      if (--missing[static_cast<size_t>(r)] != 0) return;
      const int consequent = rules[static_cast<size_t>(r)].Consequent;
      const size_t at = static_cast<size_t>(consequent);
      if (round_[at] < 0) {
        Enter(consequent, round + 1, r);
        next.push_back(consequent);
      } else if (round_[at] == round + 1 && r < producer_[at]) {
        producer_[at] = r;  // the first rule in theory order among the shortest
      }
    };
    for (int id : frontier) {
      for (int r : index.Waiting(id)) fire(r);
      if (index.RuleOf(id) >= 0) fire(index.RuleOf(id));
    }
    frontier.swap(next);
  }
}

void TClosureRecord::CloseObjectByObject(TTheoryIndex& index,
                                         const TListOfKorvelSentences& interpretation) {
  // As the statuses of such a theory are marked: members are the first
  // objects of their texts, and each consequent appended in a pass of the
  // object closure enters in that round with its conditional as producer.
  rules_ = &ownRules_;
  for (const auto& sentence : interpretation) {
    const int id = index.Intern(sentence->Text);
    if (!Contains(id)) Enter(id, 0, -1);
  }
  TTextSet texts;
  ObjectClosure(interpretation, texts, [&](const TKorvelConditional& conditional, int pass) {
    TClosureRule rule;
    rule.Conditional = index.Intern(conditional.Text);
    for (const auto& conjunct : conditional.Antecedents) {
      const int id = index.Intern(conjunct->Text);
      if (std::find(rule.Conjuncts.begin(), rule.Conjuncts.end(), id) == rule.Conjuncts.end())
        rule.Conjuncts.push_back(id);
    }
    rule.Consequent = index.Intern(conditional.Consequent->Text);
    ownRules_.push_back(std::move(rule));
    Enter(ownRules_.back().Consequent, pass, static_cast<int>(ownRules_.size()) - 1);
  });
}
