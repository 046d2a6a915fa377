# Sourced by the build and test commands: a private Wine world for one run.
#   wine_env_up    private prefix, Xvfb display, zh_CN locale (code page 936),
#                  D: mapped to a temporary directory, module hooks
#   wine_env_down  ends exactly what wine_env_up started and removes it
# Nothing here touches the user's own prefix, display or wineserver.

_wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
_wine_env_pids=()

wine_env_up() {
  CAMTOOLS_WINE_TMP=$(mktemp -d /tmp/camtools-wine.XXXXXX)
  export CAMTOOLS_WINE_TMP
  export WINEPREFIX=$CAMTOOLS_WINE_TMP/prefix WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installers
  mkdir -p "$WINEPREFIX" "$CAMTOOLS_WINE_TMP/d" "$CAMTOOLS_WINE_TMP/locale"

  # Code page 936 without touching the system's locales.
  localedef -i zh_CN -f UTF-8 "$CAMTOOLS_WINE_TMP/locale/zh_CN.UTF-8" || { echo "wine-env: localedef failed" >&2; return 1; }
  export LOCPATH=$CAMTOOLS_WINE_TMP/locale
  { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null  # this shell itself has no such locale
  unset LANGUAGE

  # One display for every Wine process of the run.
  local n
  for n in $(seq $((100 + RANDOM % 400)) 600); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
    _wine_env_pids+=($!)
    local i
    for i in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    if [ -e /tmp/.X11-unix/X$n ]; then export DISPLAY=:$n; break; fi
    kill "${_wine_env_pids[-1]}" 2>/dev/null; unset '_wine_env_pids[-1]'
  done
  [ -n "${DISPLAY:-}" ] || { echo "wine-env: no Xvfb display" >&2; return 1; }

  # A persistent wineserver without the root capabilities that let Wine open
  # read-only files for writing, so that files behave as on Windows.
  setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search \
    wineserver -p >/dev/null 2>&1
  wine wineboot --init >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  ln -sfn "$CAMTOOLS_WINE_TMP/d" "$WINEPREFIX/dosdevices/d:"
  export CAMTOOLS_DRIVE_D=$CAMTOOLS_WINE_TMP/d

  # Module hooks: <module>/tests/wine-env.sh may define <module>_env_up/_down.
  local hook module
  for hook in "$_wine_env_root"/*/tests/wine-env.sh; do
    [ -f "$hook" ] || continue
    module=$(basename "$(dirname "$(dirname "$hook")")")
    # shellcheck disable=SC1090
    source "$hook"
    if declare -F "${module}_env_up" >/dev/null; then "${module}_env_up" || return 1; fi
  done
  export CAMTOOLS_WINE_ENV=1
}

# Lets a module hook register a process it started, to be ended by wine_env_down.
wine_env_own_pid() { _wine_env_pids+=("$1"); }

wine_env_down() {
  [ -n "${CAMTOOLS_WINE_TMP:-}" ] || return 0
  local hook module
  for hook in "$_wine_env_root"/*/tests/wine-env.sh; do
    [ -f "$hook" ] || continue
    module=$(basename "$(dirname "$(dirname "$hook")")")
    if declare -F "${module}_env_down" >/dev/null; then "${module}_env_down" || true; fi
  done
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  local pid
  for pid in "${_wine_env_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${_wine_env_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  _wine_env_pids=()
  rm -rf "$CAMTOOLS_WINE_TMP"
  unset CAMTOOLS_WINE_TMP CAMTOOLS_WINE_ENV CAMTOOLS_DRIVE_D
}
