#include "reasoning/interpretations_index.h"

#include <algorithm>

namespace {

constexpr int kUnknown = -2;
constexpr int kNoRule = -1;

bool LooksLikeNegation(std::string_view text) {
  return text.size() >= 3 && text.substr(0, 2) == "x(" && text.back() == ')';
}

}  // namespace

TTheoryIndex::TTheoryIndex(const TKorvelTheory& theory, const TEvaluationControl* control) {
  std::vector<TKorvelSentence*> stack;
  rootStart_.push_back(0);
  size_t count = 0;
  for (const auto* section : {&theory.Assumptions, &theory.Issues}) {
    for (const auto& sentence : *section) {
      InternParts(sentence, stack);
      // A very large theory takes a while to index: a stop request ends it.
      if ((++count & 1023) == 0 && StopRequested(control)) {
        stopped_ = true;
        return;
      }
    }
  }
  LinkNegations();
  assumptionIds_.reserve(theory.Assumptions.size());
  for (size_t pos = 0; pos < theory.Assumptions.size(); ++pos) {
    assumptionIds_.push_back(walkIds_[rootStart_[pos]]);
    assumptionObjects_.emplace_back(theory.Assumptions[pos].get(), static_cast<int>(pos));
  }
  std::sort(assumptionObjects_.begin(), assumptionObjects_.end());
  IndexRules(theory);
}

TTheoryIndex::TTheoryIndex(size_t arguments,
                           std::span<const std::pair<size_t, size_t>> attacks) {
  // Ids in the order indexing the theory interns texts: the arguments, then
  // per attack its conditional and, the first time b is attacked, "x(b)"
  // (the walk visits a conditional, its consequent x(b), b, then a).
  const size_t count = arguments + attacks.size() + arguments;
  negation_.reserve(count);
  negation_.assign(arguments, -1);
  negated_.assign(arguments, -1);
  canEnter_.assign(arguments, 1);
  assumptionIds_.reserve(arguments + attacks.size());
  for (size_t a = 0; a < arguments; ++a) assumptionIds_.push_back(static_cast<int>(a));
  auto add = [this](int negated) {
    const int id = static_cast<int>(negation_.size());
    negation_.push_back(-1);
    negated_.push_back(negated);
    canEnter_.push_back(1);
    return id;
  };
  rules_.reserve(attacks.size());
  for (const auto& [from, to] : attacks) {
    const int conditional = add(-1);
    if (negation_[to] < 0) negation_[to] = add(static_cast<int>(to));
    rules_.push_back(TClosureRule{conditional, {static_cast<int>(from)}, negation_[to]});
    assumptionIds_.push_back(conditional);
  }
  texts_.resize(negation_.size());
  ruleOf_.assign(negation_.size(), -1);
  LinkRules();
}

int TTheoryIndex::AssumptionPosition(const TKorvelSentence* sentence) const {
  auto it = std::lower_bound(assumptionObjects_.begin(), assumptionObjects_.end(),
                             std::pair<const TKorvelSentence*, int>(sentence, -1));
  return it != assumptionObjects_.end() && it->first == sentence ? it->second : -1;
}

std::span<const int> TTheoryIndex::WalkIds(size_t index, const TKorvelSentence* root) const {
  if (index >= roots_.size() || roots_[index] != root) return {};
  return std::span<const int>(walkIds_).subspan(rootStart_[index],
                                                rootStart_[index + 1] - rootStart_[index]);
}

namespace {

uint32_t TagOf(size_t hash) {
  return static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32) | 1u;
}

}  // namespace

size_t TTheoryIndex::SlotOf(std::string_view text, size_t hash) const {
  const size_t mask = slots_.size() - 1;
  const uint32_t tag = TagOf(hash);
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
    const TSlot& slot = slots_[at];
    if (slot.Tag == 0) return at;
    if (slot.Tag == tag && texts_[static_cast<size_t>(slot.Id)] == text) return at;
  }
}

void TTheoryIndex::Grow() {
  std::vector<TSlot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const TSlot& slot : old) {
    if (slot.Tag == 0) continue;
    size_t at = std::hash<std::string_view>{}(texts_[static_cast<size_t>(slot.Id)]) & mask;
    while (slots_[at].Tag != 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

int TTheoryIndex::Find(std::string_view text) const {
  return slots_[SlotOf(text, std::hash<std::string_view>{}(text))].Id;
}

int TTheoryIndex::Intern(std::string_view text) {
  const size_t hash = std::hash<std::string_view>{}(text);
  size_t at = SlotOf(text, hash);
  if (slots_[at].Tag != 0) return slots_[at].Id;
  if (2 * (texts_.size() + 1) > slots_.size()) {
    Grow();
    at = SlotOf(text, hash);
  }
  const int id = static_cast<int>(texts_.size());
  slots_[at] = TSlot{id, TagOf(hash)};
  texts_.push_back(text);
  negation_.push_back(-1);
  negated_.push_back(-1);
  ruleOf_.push_back(-1);
  canEnter_.push_back(0);
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

std::span<const int> TTheoryIndex::Slice(const std::vector<int>& start,
                                         const std::vector<int>& items, int id) {
  const size_t at = static_cast<size_t>(id);
  if (at + 1 >= start.size()) return {};
  return std::span<const int>(items).subspan(static_cast<size_t>(start[at]),
                                             static_cast<size_t>(start[at + 1] - start[at]));
}

void TTheoryIndex::InternParts(const SentencePtr& root, std::vector<TKorvelSentence*>& stack) {
  // Every object of the sentence's tree; the ids are kept in walk order so
  // that marking can replay them without looking texts up again.
  roots_.push_back(root.get());
  WalkParts(root.get(), stack,
            [this](TKorvelSentence& part) { walkIds_.push_back(Intern(part.Text)); });
  rootStart_.push_back(walkIds_.size());
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

bool TTheoryIndex::RuleOfObject(const TKorvelSentence& sentence, TClosureRule& rule) const {
  auto* conditional = AsKind<TKorvelConditional>(&sentence);
  if (conditional == nullptr) return false;
  rule.Conditional = Find(conditional->Text);
  rule.Conjuncts.clear();
  for (const auto& antecedent : conditional->Antecedents)
    rule.Conjuncts.push_back(Find(antecedent->Text));
  std::sort(rule.Conjuncts.begin(), rule.Conjuncts.end());
  rule.Conjuncts.erase(std::unique(rule.Conjuncts.begin(), rule.Conjuncts.end()),
                       rule.Conjuncts.end());
  rule.Consequent = Find(conditional->Consequent->Text);
  return true;
}

namespace {

bool SameRule(const TClosureRule& a, const TClosureRule& b) {
  return a.Conditional == b.Conditional && a.Conjuncts == b.Conjuncts &&
         a.Consequent == b.Consequent;
}

}  // namespace

void TTheoryIndex::IndexRules(const TKorvelTheory& theory) {
  // The objects that can be members of a closure: assumptions and, through
  // conditionals, their consequents. Each text must behave the same in all.
  std::vector<int> kind(texts_.size(), kUnknown);
  TClosureRule rule;
  for (const auto& assumption : theory.Assumptions) {
    for (const TKorvelSentence* sentence = assumption.get(); sentence != nullptr;) {
      const size_t id = static_cast<size_t>(Find(sentence->Text));
      canEnter_[id] = 1;
      if (!RuleOfObject(*sentence, rule)) {
        if (kind[id] >= 0) ambiguous_ = true;
        if (kind[id] == kUnknown) kind[id] = kNoRule;
        break;
      }
      if (kind[id] == kUnknown) {
        kind[id] = static_cast<int>(rules_.size());
        rules_.push_back(rule);
      } else if (kind[id] == kNoRule || !SameRule(rules_[static_cast<size_t>(kind[id])], rule)) {
        ambiguous_ = true;
      }
      sentence = static_cast<const TKorvelConditional*>(sentence)->Consequent.get();
    }
  }
  LinkRules();
}

void TTheoryIndex::LinkRules() {
  // Rules by conjunct and by consequent, counted first, then filled.
  const size_t count = texts_.size();
  waitingStart_.assign(count + 1, 0);
  producerStart_.assign(count + 1, 0);
  for (const auto& r : rules_) {
    for (int c : r.Conjuncts) ++waitingStart_[static_cast<size_t>(c) + 1];
    ++producerStart_[static_cast<size_t>(r.Consequent) + 1];
  }
  for (size_t id = 0; id < count; ++id) {
    waitingStart_[id + 1] += waitingStart_[id];
    producerStart_[id + 1] += producerStart_[id];
  }
  waiting_.resize(static_cast<size_t>(waitingStart_[count]));
  producers_.resize(static_cast<size_t>(producerStart_[count]));
  std::vector<int> waitingFill(waitingStart_.begin(), waitingStart_.end() - 1);
  std::vector<int> producerFill(producerStart_.begin(), producerStart_.end() - 1);
  for (size_t r = 0; r < rules_.size(); ++r) {
    const TClosureRule& each = rules_[r];
    ruleOf_[static_cast<size_t>(each.Conditional)] = static_cast<int>(r);
    for (int c : each.Conjuncts)
      waiting_[static_cast<size_t>(waitingFill[static_cast<size_t>(c)]++)] = static_cast<int>(r);
    producers_[static_cast<size_t>(producerFill[static_cast<size_t>(each.Consequent)]++)] =
        static_cast<int>(r);
  }
}

bool TTheoryIndex::FollowsRules(const TKorvelSentence& sentence) const {
  TClosureRule rule;
  for (const TKorvelSentence* s = &sentence; s != nullptr;) {
    const int id = Find(s->Text);
    if (id < 0 || !canEnter_[static_cast<size_t>(id)]) return false;
    const int own = RuleOf(id);
    if (!RuleOfObject(*s, rule)) return own < 0;
    if (own < 0 || !SameRule(rules_[static_cast<size_t>(own)], rule)) return false;
    s = static_cast<const TKorvelConditional*>(s)->Consequent.get();
  }
  return true;
}
