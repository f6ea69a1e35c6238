#!/usr/bin/env bash
# Configures and builds in build/: everything, or only the targets named
# (e.g. `bash scripts/build.sh tx2014`).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if (($#)); then
  cmake --build build -j"$(nproc)" --target "$@"
else
  cmake --build build -j"$(nproc)"
fi
