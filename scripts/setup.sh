#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Safe to run again: it installs only what is missing.
set -euo pipefail
pkgs=(build-essential cmake pkg-config clang libclang-rt-dev
      libncurses-dev libcurl4-openssl-dev libarchive-dev libsqlite3-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      tmux python3-dbf python3-dbfread libdbd-xbase-perl libxml2-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
