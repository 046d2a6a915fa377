#!/usr/bin/env bash
# Builds the deliverables into dist/ (binaries in dist/bin, C headers in
# dist/include) and runs the demo, a 32-bit example caller, under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release -DMODULES= \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win -j "$(nproc)"
rm -rf dist
cmake --install build/win --prefix dist >/dev/null
# The demo loads the libraries from its own directory, as the add-on does.
cp dist/bin/* dist/demo/
echo "build: deliverables in $root/dist/bin:"
ls -l dist/bin

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up
out="$root/dist/demo/output"
mkdir -p "$out"
for hook in "$root"/*/tests/demo-env.sh; do
  # shellcheck disable=SC1090
  [ -f "$hook" ] && source "$hook"
done
echo
wine "$root/dist/demo/camtools_demo.exe" "Z:${out//\//\\}"
# Module hooks that turn what the demo wrote into files a person opens.
for hook in "$root"/*/tests/demo-after.sh; do
  # shellcheck disable=SC1090
  [ -f "$hook" ] && source "$hook"
done
echo
echo "build: demo output in $out"
