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
rm -rf dist build/demo
cmake --install build/win --prefix dist >/dev/null
# The demo loads the shipped libraries from its own directory, as the add-on
# does; the stand-ins for Excel and NX's libugui.dll sit beside it there, in
# the build tree, and never in dist/.
demo=$root/build/demo
mkdir -p "$demo"
mv dist/demo/camtools_demo.exe "$demo/" && rmdir dist/demo
cp dist/bin/* "$demo/"
for double in excel_double.dll; do
  [ -f "build/win/bin/$double" ] && cp "build/win/bin/$double" "$demo/"
done
echo "build: deliverables in $root/dist/bin:"
ls -l dist/bin

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up
out="$demo/output"
mkdir -p "$out"
for hook in "$root"/*/tests/demo-env.sh; do
  # shellcheck disable=SC1090
  [ -f "$hook" ] && source "$hook"
done
echo
wine "$demo/camtools_demo.exe" "Z:${out//\//\\}"
# Module hooks that turn what the demo wrote into files a person opens.
for hook in "$root"/*/tests/demo-after.sh; do
  # shellcheck disable=SC1090
  [ -f "$hook" ] && source "$hook"
done
echo
echo "build: demo output in $out"
