// Where an encoding writes its clauses: any solver that takes new variables
// and clauses, in DIMACS literals (variable v >= 1, literal v or -v).
#pragma once

#include <span>

class TClauseSink {
 public:
  virtual int NewVar() = 0;
  virtual void AddClause(std::span<const int> lits) = 0;

 protected:
  ~TClauseSink() = default;
};
