#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined
# sanitizers) and runs each for a bounded number of inputs from its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
shopt -s nullglob
targets=(fuzz/*.cpp)
((${#targets[@]})) || { echo "fuzz: no targets"; exit 0; }
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTX_FUZZ=ON -DTX_TESTS=OFF -DTX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
names=()
for t in "${targets[@]}"; do names+=("fuzz_$(basename "$t" .cpp)"); done
cmake --build build-fuzz -j"$(nproc)" --target "${names[@]}"
passed=0 failed=0
for n in "${names[@]}"; do
  seeds="fuzz/seeds/${n#fuzz_}"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  if ./build-fuzz/fuzz/"$n" -runs=20000 -max_len=8192 -timeout=10 "$work" >"$work.log" 2>&1; then
    echo "fuzz $n: ok"; passed=$((passed+1))
  else
    echo "fuzz $n: FAILED"; tail -40 "$work.log"; failed=$((failed+1))
  fi
  rm -rf "$work" "$work.log"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
