#!/usr/bin/env bash
# Runs every test: the platform-free logic natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, fuzz targets for a fixed number of runs, then the
# real Windows binaries under Wine in a private prefix.
#   scripts/test.sh            everything
#   scripts/test.sh native     native tests only
#   scripts/test.sh wine       Windows build and Wine tests only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
what=${1:-all}
jobs=$(nproc)

bash scripts/setup.sh

status=0
if [ "$what" = all ] || [ "$what" = native ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON -DMODULES= \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build/native -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1
fi

if [ "$what" = all ] || [ "$what" = wine ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release -DMODULES= \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build build/win -j "$jobs"
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  trap wine_env_down EXIT
  started=$SECONDS
  wine_env_up
  echo "test: Wine environment ready in $((SECONDS - started)) s"
  # One at a time: the programs share one display, and a message box of one
  # must not take the activation another program's box is waiting for.
  ctest --test-dir build/win --output-on-failure || status=1
fi
exit $status
