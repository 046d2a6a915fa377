#!/usr/bin/env bash
# Installs what the build and the tests need, once; safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
  g++-mingw-w64-i686 libz-mingw-w64-dev libhpdf-dev zlib1g-dev
  wine wine32:i386 xvfb xauth
  cups-daemon cups-client libcups2:i386
  fonts-dejavu-core fonts-wqy-zenhei
  poppler-utils libjpeg-turbo-progs python3
  dpkg-dev xz-utils
)

# A module may need more: one Debian package name a line in <module>/packages.txt.
root=$(cd "$(dirname "$0")/.." && pwd)
for list in "$root"/*/packages.txt; do
  [ -f "$list" ] || continue
  while read -r p _; do
    case "$p" in ''|'#'*) ;; *) packages+=("$p") ;; esac
  done < "$list"
done

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_ dpkg --add-architecture i386
  fi
  sudo_ apt-get -o DPkg::Lock::Timeout=600 update -qq
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
  # cups-daemon starts a system cupsd; the tests run their own.
  if command -v systemctl >/dev/null 2>&1; then sudo_ systemctl disable --now cups cups.socket >/dev/null 2>&1 || true; fi
fi
