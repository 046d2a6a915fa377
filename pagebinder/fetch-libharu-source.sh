#!/usr/bin/env bash
# Puts Debian's libharu source tarball into a cache directory, once:
#   pagebinder/fetch-libharu-source.sh CACHE_DIR
# Prints the path of the .orig tarball. Safe to run again: a cached tarball is
# used as it is; otherwise a deb-src entry for bookworm main is added (once)
# and the source is fetched through apt.
set -euo pipefail
cache=${1:?cache directory}
mkdir -p "$cache"

find_orig() { find "$cache" -maxdepth 1 -name 'libharu_*.orig.tar.*' -size +100k | sort | tail -n 1; }

orig=$(find_orig)
if [ -n "$orig" ]; then
  echo "$orig"
  exit 0
fi

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

sources=/etc/apt/sources.list.d/camtools-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src ' /etc/apt/sources.list; then
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

# apt may report a failure for the Debian tarball while the original arrives;
# what counts is the original tarball.
(cd "$cache" && apt-get source --download-only libharu >&2) || true
orig=$(find_orig)
if [ -z "$orig" ]; then
  echo "fetch-libharu-source: no libharu source tarball arrived in $cache" >&2
  exit 1
fi
echo "$orig"
