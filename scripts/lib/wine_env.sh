# Shared by the test and run scripts: a private Xvfb display and a private
# Wine prefix. Source it; every function keeps to the given build folder.

velmora_wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Starts Xvfb on a free display; sets VELMORA_XVFB_PID and VELMORA_XVFB_DISPLAY.
velmora_start_xvfb() {
  local geometry="${1:-1280x1024x24}" numberfile
  numberfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset 3>"$numberfile" \
    >/dev/null 2>&1 &
  VELMORA_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$numberfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$numberfile" ]; then
    rm -f "$numberfile"
    echo "Xvfb did not start" >&2
    return 1
  fi
  VELMORA_XVFB_DISPLAY=":$(tr -d '[:space:]' <"$numberfile")"
  rm -f "$numberfile"
}

velmora_stop_xvfb() {
  if [ -n "${VELMORA_XVFB_PID:-}" ]; then
    kill "$VELMORA_XVFB_PID" 2>/dev/null || true
    wait "$VELMORA_XVFB_PID" 2>/dev/null || true
    VELMORA_XVFB_PID=
  fi
}

# Creates the prefix once (a first run of a program without it fails).
velmora_init_wineprefix() {
  local prefix="$1" display="$2"
  if [ -f "$prefix/system.reg" ] && [ -f "$prefix/.velmora-ready" ]; then
    return 0
  fi
  echo "Initialising the Wine prefix $prefix"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  velmora_wine_env
  WINEPREFIX="$prefix" DISPLAY="$display" wineboot -i >"$prefix.log" 2>&1
  # A crashing test program must end, not leave the crash dialog waiting.
  WINEPREFIX="$prefix" DISPLAY="$display" wine reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$prefix.log" 2>&1
  WINEPREFIX="$prefix" wineserver -w
  touch "$prefix/.velmora-ready"
}

velmora_stop_wineserver() {
  local prefix="$1"
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
}
