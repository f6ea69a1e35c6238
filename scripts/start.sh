#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Unless DVE2014
# names another program folder, the program folder (which is also the first
# data folder) is ~/.tx2014/TX2014, created on first start.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh tx2014
export DVE2014="${DVE2014:-$HOME/.tx2014/TX2014}"
mkdir -p "$DVE2014"
cd "$DVE2014"
exec "$OLDPWD/build/tx2014" "$@"
