#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the default
# program folder and data folder under ~/.tx2014 (created on first start).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec ./build/tx2014 "$@"
