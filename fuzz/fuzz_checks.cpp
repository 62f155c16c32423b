#include "fuzz/fuzz_checks.h"

const std::vector<TFuzzCheck>& FuzzChecks() {
  static const std::vector<TFuzzCheck> checks = {
      {"theory_file", CheckTheoryFile}, {"parser", CheckParser}, {"matching", CheckMatching},
      {"evaluation", CheckEvaluation},  {"layout", CheckLayout}, {"korvel", CheckKorvel},
  };
  return checks;
}
