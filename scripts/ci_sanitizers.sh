#!/usr/bin/env bash
# The test suite once more under AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, every finding fatal), then each fuzz target for a short fixed budget
# on its seed corpus. Runs in its own build directory.
#
# Environment: PELMORA_SANITIZER_BUILD (build directory, default
# build-sanitizers), PELMORA_FUZZ_SECONDS (budget per target, default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=${PELMORA_SANITIZER_BUILD:-build-sanitizers}
seconds=${PELMORA_FUZZ_SECONDS:-20}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DBUILD_TESTING=ON -DPELMORA_FUZZ=ON -DPELMORA_BUILD_BENCHMARKS=OFF
cmake --build "$build"

# Leak checking stays on for every test, the window tests included: with the
# offscreen platform Qt leaves nothing LeakSanitizer reports, so no
# suppression is needed (add one for a library only with a reason).
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --timeout 900 --parallel 2

# Each fuzz target on its seeds and regression inputs, writing what it finds
# to a scratch directory so that the repository stays as it is. A failing
# input is kept in the build directory and belongs in fuzz/regressions/ once
# mended.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
for target in theory_file parser matching evaluation layout korvel; do
  scratch=$(mktemp -d)
  dictionary=()
  [ -f "fuzz/dict/$target.dict" ] && dictionary=(-dict="fuzz/dict/$target.dict")
  # A target without regression inputs has no directory for them in a checkout.
  inputs=("fuzz/corpus/$target")
  [ -d "fuzz/regressions/$target" ] && inputs+=("fuzz/regressions/$target")
  log="$artifacts/$target.log"
  length=4096
  case $target in korvel) length=1024 ;; evaluation | layout) length=512 ;; esac
  echo "fuzzing $target for ${seconds}s"
  # A fixed seed makes a CI run repeatable; PELMORA_FUZZ_SEED=0 draws one.
  if ! "$build/fuzz/fuzz_$target" -seed="${PELMORA_FUZZ_SEED:-1}" -max_total_time="$seconds" \
      -max_len="$length" -timeout=25 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
      "${dictionary[@]}" "$scratch" "${inputs[@]}" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz target $target failed; the input is in $artifacts" >&2
    exit 1
  fi
  grep -E "^stat::number_of_executed_units" "$log" || true
  rm -rf "$scratch"
done
