#!/usr/bin/env bash
# Installs what is missing, builds Pelmora and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
if [ -x build/app/pelmora ]; then
  exec build/app/pelmora
else
  exec build/app/korvel --help
fi
