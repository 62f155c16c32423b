#include "explanation/explanation.h"

#include <algorithm>
#include <optional>

#include "reasoning/interpretations_index.h"
#include "explanation/closure_record.h"

struct TExplainer::TData {
  explicit TData(const TKorvelTheory& theory) : Index(theory) {}

  TTheoryIndex Index;
  std::optional<TClosureRecord> Record;  // none when no interpretation is shown
  std::vector<char> IsPart;              // per id: the text of an assumption, an issue or a part
  // Per conditional text, its first object; per consequent text, the
  // conditional texts that have it as consequent, in order of appearance.
  std::vector<const TKorvelConditional*> ConditionalObject;
  std::vector<std::vector<int>> GivenBy;

  void Grow(size_t id) {
    IsPart.resize(id + 1, 0);
    ConditionalObject.resize(id + 1, nullptr);
    GivenBy.resize(id + 1);
  }
  TExplainedStatus Status(int id) const {
    if (!Record || id < 0) return TExplainedStatus::Open;
    if (Record->Contains(id)) return TExplainedStatus::Justified;
    if (Record->Contains(Index.Negation(id))) return TExplainedStatus::Defeated;
    return TExplainedStatus::Open;
  }
  std::vector<int> WrittenPremises(int conditional) const;
  std::vector<int> UsedPremises(int conditional, std::span<const int> conjuncts) const;
  void Derive(int id, int parent, int depth, TExplanation& out) const;
  void ExplainOpen(int id, TExplanation& out) const;
  int AddLine(TExplanation& out, TStepKind kind, int id, int parent, int depth) const {
    TExplanationLine line;
    line.Kind = kind;
    line.Sentence = std::string(Index.Text(id));
    line.Status = Status(id);
    line.Parent = parent;
    line.Depth = depth;
    out.Lines.push_back(std::move(line));
    return static_cast<int>(out.Lines.size()) - 1;
  }
};

TExplainer::TExplainer(const TKorvelTheory& theory, const TListOfKorvelSentences* interpretation)
    : data_(std::make_unique<TData>(theory)) {
  TData& d = *data_;
  if (interpretation != nullptr) d.Record.emplace(d.Index, *interpretation);
  if (d.Index.TextCount() > 0) d.Grow(d.Index.TextCount() - 1);
  // The index walked every part in this order already; its ids save a
  // lookup per part (a root it cannot answer for is looked up text by text).
  std::vector<TKorvelSentence*> stack;
  size_t rootIndex = 0;
  for (const auto* section : {&theory.Assumptions, &theory.Issues}) {
    for (const auto& root : *section) {
      const std::span<const int> ids = d.Index.WalkIds(rootIndex++, root.get());
      size_t next = 0;
      WalkParts(root.get(), stack, [&d, &ids, &next](TKorvelSentence& part) {
        const size_t id =
            static_cast<size_t>(next < ids.size() ? ids[next++] : d.Index.Intern(part.Text));
        if (id >= d.IsPart.size()) d.Grow(id);
        d.IsPart[id] = 1;
        auto* conditional = AsKind<TKorvelConditional>(&part);
        if (conditional == nullptr || d.ConditionalObject[id] != nullptr) return;
        d.ConditionalObject[id] = conditional;
        const size_t consequent = static_cast<size_t>(d.Index.Find(conditional->Consequent->Text));
        if (consequent >= d.GivenBy.size()) d.Grow(consequent);
        d.GivenBy[consequent].push_back(static_cast<int>(id));
      });
    }
  }
}

TExplainer::~TExplainer() = default;

bool TExplainer::HasInterpretation() const {
  return data_->Record.has_value();
}

bool TExplainer::IsSentence(std::string_view text) const {
  const int id = data_->Index.Find(text);
  return id >= 0 && static_cast<size_t>(id) < data_->IsPart.size() &&
         data_->IsPart[static_cast<size_t>(id)] != 0;
}

TExplainedStatus TExplainer::StatusOf(std::string_view text) const {
  return data_->Status(data_->Index.Find(text));
}

// A conditional's premises: its own text, then its distinct conjuncts in
// the order it writes them.
std::vector<int> TExplainer::TData::WrittenPremises(int conditional) const {
  std::vector<int> premises{conditional};
  const TKorvelConditional* object = static_cast<size_t>(conditional) < ConditionalObject.size()
                                         ? ConditionalObject[static_cast<size_t>(conditional)]
                                         : nullptr;
  if (object == nullptr) return premises;
  for (const auto& antecedent : object->Antecedents) {
    const int id = Index.Find(antecedent->Text);
    if (std::find(premises.begin() + 1, premises.end(), id) == premises.end())
      premises.push_back(id);
  }
  return premises;
}

// The premises of the rule that derived a text, in the written order when
// the conditional's first object agrees with that rule, else in the rule's.
std::vector<int> TExplainer::TData::UsedPremises(int conditional,
                                                 std::span<const int> conjuncts) const {
  std::vector<int> premises = WrittenPremises(conditional);
  std::vector<int> written(premises.begin() + 1, premises.end());
  std::vector<int> used(conjuncts.begin(), conjuncts.end());
  std::sort(written.begin(), written.end());
  std::sort(used.begin(), used.end());
  if (written == used) return premises;
  premises.resize(1);
  premises.insert(premises.end(), conjuncts.begin(), conjuncts.end());
  return premises;
}

void TExplainer::TData::Derive(int id, int parent, int depth, TExplanation& out) const {
  // Depth first on an explicit stack: derivations can be as deep as the
  // theory is long. A text is derived once; a later use points back.
  struct TPending {
    int Id, Parent, Depth;
  };
  std::vector<int> shownAt(Index.TextCount(), -1);
  std::vector<TPending> stack{{id, parent, depth}};
  while (!stack.empty()) {
    const TPending next = stack.back();
    stack.pop_back();
    int& shown = shownAt[static_cast<size_t>(next.Id)];
    if (shown >= 0) {
      const int line = AddLine(out, TStepKind::ShownAbove, next.Id, next.Parent, next.Depth);
      out.Lines[static_cast<size_t>(line)].Reference = shown;
      continue;
    }
    const int conditional = Record->Conditional(next.Id);
    if (conditional < 0) {
      shown = AddLine(out, TStepKind::Member, next.Id, next.Parent, next.Depth);
      continue;
    }
    shown = AddLine(out, TStepKind::Derived, next.Id, next.Parent, next.Depth);
    out.Lines[static_cast<size_t>(shown)].Conditional = std::string(Index.Text(conditional));
    const std::vector<int> premises = UsedPremises(conditional, Record->Conjuncts(next.Id));
    for (auto it = premises.rbegin(); it != premises.rend(); ++it)
      stack.push_back({*it, shown, next.Depth + 1});
  }
}

void TExplainer::TData::ExplainOpen(int id, TExplanation& out) const {
  bool any = false;
  for (int target : {id, Index.Negation(id)}) {
    if (target < 0 || static_cast<size_t>(target) >= GivenBy.size()) continue;
    for (int conditional : GivenBy[static_cast<size_t>(target)]) {
      any = true;
      const int line = AddLine(out, TStepKind::WouldGive, target, 0, 1);
      out.Lines[static_cast<size_t>(line)].Conditional = std::string(Index.Text(conditional));
      for (int premise : WrittenPremises(conditional))
        if (!Record->Contains(premise)) AddLine(out, TStepKind::NotJustified, premise, line, 2);
    }
  }
  if (!any) AddLine(out, TStepKind::NothingGives, id, 0, 1);
}

TExplanation TExplainer::Explain(std::string_view text) const {
  const TData& d = *data_;
  TExplanation out;
  const int id = d.Index.Find(text);
  if (id < 0) return out;
  if (!d.Record) {
    d.AddLine(out, TStepKind::NoInterpretation, id, -1, 0);
    return out;
  }
  switch (d.Status(id)) {
    case TExplainedStatus::Justified:
      d.Derive(id, -1, 0, out);
      break;
    case TExplainedStatus::Defeated:
      d.AddLine(out, TStepKind::Defeated, id, -1, 0);
      d.Derive(d.Index.Negation(id), 0, 1, out);
      break;
    case TExplainedStatus::Open:
      d.AddLine(out, TStepKind::Open, id, -1, 0);
      d.ExplainOpen(id, out);
      break;
  }
  return out;
}
