#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, runs the bounded fuzz
# runs, then the unit and end-to-end tests through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/fuzz.sh
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 300
