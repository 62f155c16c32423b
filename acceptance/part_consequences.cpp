#include "acceptance/part_consequences.h"

namespace {

class TSettler {
 public:
  TSettler(TPartSolver& solver, const std::vector<int>& texts, TPartConsequences& out,
           TAcceptanceControl* control)
      : solver_(solver), texts_(texts), out_(out), control_(control) {
    out_.PresentIn.assign(texts.size(), -1);
    out_.AbsentIn.assign(texts.size(), -1);
  }

  // Takes the solver's last model as a witness for every text it settles.
  void Record() {
    const int model = static_cast<int>(out_.Models.size());
    out_.Models.push_back(solver_.Taken());
    size_t settled = 0;
    for (size_t k = 0; k < texts_.size(); ++k) {
      int& witness = solver_.Present(texts_[k]) ? out_.PresentIn[k] : out_.AbsentIn[k];
      if (witness >= 0) continue;
      witness = model;
      // Both witnesses now known: the text is in some choices, not all.
      if (out_.PresentIn[k] >= 0 && out_.AbsentIn[k] >= 0) ++settled;
    }
    Progress(settled);
    if (control_ != nullptr) control_->InterpretationsFound.fetch_add(1, std::memory_order_relaxed);
  }

  // Asks until every text has a witness of presence (`present`) or absence,
  // or no model gives one. False on a stop.
  bool Settle(bool present) {
    std::vector<int>& witnesses = present ? out_.PresentIn : out_.AbsentIn;
    std::vector<size_t> open;
    for (size_t k = 0; k < texts_.size(); ++k)
      if (witnesses[k] < 0) open.push_back(k);
    std::vector<int> literals;
    while (!open.empty()) {
      literals.clear();
      for (size_t k : open) {
        const int lit = solver_.PresenceLiteral(texts_[k]);
        literals.push_back(present ? lit : -lit);
      }
      // Models that settle many texts at once: the open ones are tried the
      // asked way first.
      solver_.PreferPhases(literals);
      const int selector = solver_.Selector(literals);
      const bool found = solver_.Solve({selector});
      solver_.Retire(selector);
      if (solver_.Stopped()) return false;
      if (!found) {
        // No choice gives the rest a witness: settled all the same.
        Progress(open.size());
        return true;
      }
      Record();
      size_t kept = 0;
      for (size_t k : open)
        if (witnesses[k] < 0) open[kept++] = k;
      open.resize(kept);
    }
    return true;
  }

 private:
  void Progress(size_t settled) {
    if (control_ != nullptr && settled > 0) control_->TextsSettled.fetch_add(settled, std::memory_order_relaxed);
  }

  TPartSolver& solver_;
  const std::vector<int>& texts_;
  TPartConsequences& out_;
  TAcceptanceControl* control_;
};

}  // namespace

TPartConsequences PartConsequences(TPartSolver& solver, const std::vector<int>& texts,
                                   uint64_t countLimit, TAcceptanceControl* control) {
  TPartConsequences out;
  TSettler settler(solver, texts, out, control);
  out.HasChoice = solver.Solve({});
  if (solver.Stopped()) {
    out.Stopped = true;
    return out;
  }
  if (!out.HasChoice) return out;
  settler.Record();
  if (!settler.Settle(true) || !settler.Settle(false)) {
    out.Stopped = true;
    return out;
  }
  if (countLimit == 0) return out;
  // Counting comes last: the clauses that rule out each choice counted stay.
  uint64_t count = 0;
  while (count <= countLimit && solver.Solve({})) {
    ++count;
    solver.ExcludeLastChoice();
  }
  if (solver.Stopped()) {
    out.Stopped = true;
    return out;
  }
  out.Count = count;
  out.CountKnown = count <= countLimit;
  return out;
}
