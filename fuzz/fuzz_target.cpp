// One libFuzzer program per check; PELMORA_FUZZ_CHECK names it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_checks.h"

namespace {

const TFuzzCheck& ThisCheck() {
  static const TFuzzCheck* found = [] {
    for (const auto& check : FuzzChecks())
      if (std::strcmp(check.Name, PELMORA_FUZZ_CHECK) == 0) return &check;
    std::fprintf(stderr, "no fuzz check named %s\n", PELMORA_FUZZ_CHECK);
    std::abort();
  }();
  return *found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string failure =
      ThisCheck().Check(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!failure.empty()) {
    std::fprintf(stderr, "%s check failed: %s\n", PELMORA_FUZZ_CHECK, failure.c_str());
    std::abort();
  }
  return 0;
}
