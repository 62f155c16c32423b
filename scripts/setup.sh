#!/usr/bin/env bash
# Installs what building and testing Pelmora needs on a Debian machine.
# Safe to run again: packages already present are skipped.
# Works as root, or as a user who may use sudo. With --benchmarks (or
# PELMORA_BENCHMARKS=1) it also installs what the benchmark programs need,
# with --asan (or PELMORA_ASAN=1) what the asan preset needs.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libgtest-dev
  # renders the application icon's bitmaps at build time
  librsvg2-bin
  # what scripts/check_install.sh runs on an installation and the package
  desktop-file-utils
  appstream
  shared-mime-info
  xdg-utils
  libfile-mimeinfo-perl
  man-db
  dpkg-dev
  lintian
  bash-completion
  # CaDiCaL, which acceptance hands the parts too hard for its own solver to
  libcadical-dev
  # clingo, the independent peer the evaluation is tested and measured against
  gringo
  nlohmann-json3-dev  # korvel's --json output (cli/ only)
  # pdftotext: the tests read the text of exported PDF pictures
  poppler-utils
  # clang with its sanitizer and libFuzzer runtimes: scripts/ci_sanitizers.sh
  clang-14 libclang-rt-14-dev
)

for option in "$@"; do
  case "$option" in
    --benchmarks) PELMORA_BENCHMARKS=1 ;;
    --asan) PELMORA_ASAN=1 ;;
    *) echo "usage: setup.sh [--benchmarks] [--asan]" >&2; exit 2 ;;
  esac
done
# Google Benchmark, for -DPELMORA_BUILD_BENCHMARKS=ON
[ "${PELMORA_BENCHMARKS:-0}" = "1" ] && packages+=(libbenchmark-dev)
# clang and its sanitizer run-times, for the asan preset
[ "${PELMORA_ASAN:-0}" = "1" ] && packages+=(clang libclang-rt-dev)

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "setup.sh: this is not a Debian-like system (no dpkg-query or apt-get)." >&2
  echo "Install by hand the equivalents of: ${packages[*]}" >&2
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Root installs directly; anyone else needs sudo that is present and allowed.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -v; then
    as_root=(sudo)
  else
    echo "setup.sh: these packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root, and sudo is missing or not allowed for $(id -un)." >&2
    echo "Ask an administrator to run, as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    echo "then run this script again." >&2
    exit 1
  fi
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
