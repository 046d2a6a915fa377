#!/usr/bin/env bash
# Puts Debian's libharu source tarball into a cache directory, once:
#   pagebinder/fetch-libharu-source.sh CACHE_DIR
# Prints the path of the .orig tarball. Safe to run again: a cached tarball
# that matches its .dsc is used as it is; otherwise the source is fetched
# through apt, after adding a deb-src entry for bookworm main if apt knows no
# source for libharu (the one change to the system, made once).
set -euo pipefail
cache=${1:?cache directory}
mkdir -p "$cache"

# The newest .orig tarball whose SHA-256 is the one its .dsc lists.
verified_orig() {
  local dsc orig sum
  for dsc in $(ls -1 "$cache"/libharu_*.dsc 2>/dev/null | sort -r); do
    for orig in "$cache"/libharu_*.orig.tar.*; do
      [ -f "$orig" ] || continue
      sum=$(sha256sum "$orig" | cut -d' ' -f1)
      if grep -q " $sum [0-9]* $(basename "$orig")\$" "$dsc"; then
        echo "$orig"
        return 0
      fi
    done
  done
  return 1
}

if orig=$(verified_orig); then
  echo "$orig"
  exit 0
fi

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! apt-cache showsrc libharu 2>/dev/null | grep -q '^Package: libharu'; then
  sources=/etc/apt/sources.list.d/camtools-deb-src.sources
  if [ ! -f "$sources" ]; then
    echo "fetch-libharu-source: adding $sources" >&2
    sudo_ tee "$sources" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  fi
  sudo_ apt-get update -qq >&2 || true
fi

# apt may fail on the Debian tarball beside it while the original arrives:
# what counts is a verified original tarball.
rm -f "$cache"/libharu_*
(cd "$cache" && apt-get source --download-only libharu >&2) || true
if ! orig=$(verified_orig); then
  echo "fetch-libharu-source: no verified libharu source tarball arrived in $cache" >&2
  exit 1
fi
echo "$orig"
