#!/usr/bin/env bash
# Benchmark of pagebinder: time, peak memory and output size against the bare
# libharu calls and img2pdf, for the native core (optimised build, no
# sanitizers) and the real pagebinder.exe under Wine.
#   pagebinder/bench/bench.sh [--count N] [--repeat N]
# The JPEGs are made once and kept in build/pagebinder-bench/images.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
bench=build/pagebinder-bench
win=build/pagebinder-bench-win

cmake -S . -B "$bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DMODULES=pagebinder \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$bench" -j2 --target pagebinder_native pagebinder_bare >/dev/null
cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DMODULES=pagebinder \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$win" -j2 --target pagebinder >/dev/null

exec scripts/wine-do /usr/bin/python3 pagebinder/bench/bench.py \
  --native "$bench/bin/pagebinder_native" --bare "$bench/bin/pagebinder_bare" \
  --exe "$win/bin/pagebinder.exe" --winerun "$root/scripts/winerun" \
  --images "$bench/images" "$@"
