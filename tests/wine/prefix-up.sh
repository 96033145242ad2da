#!/bin/bash
# Creates the test prefix on first use, makes it report Windows 10, and starts the one
# persistent wineserver for this run. Fails loudly: a tier must never pass by skipping.
set -euo pipefail
trap 'echo "FATAL: prefix-up.sh failed at line $LINENO: $BASH_COMMAND" >&2' ERR
source "$1"

for tool in "$WINE" "$WINE64" "$WINESERVER" "$(command -v Xvfb || echo Xvfb)"; do
  if [ ! -x "$tool" ]; then
    echo "FATAL: $tool not found; install the Debian packages wine64, wine32:i386 and xvfb" >&2
    exit 1
  fi
done

# One X server for the run, so that GUI tests never touch the user's display. Wine binds
# its desktop to the first display it sees, so all Wine processes of the run share it.
mkdir -p "$TARNWICK_WINE_STATE"
if [ -s "$TARNWICK_WINE_STATE/xvfb.pid" ] && kill -0 "$(cat "$TARNWICK_WINE_STATE/xvfb.pid")" 2>/dev/null; then
  kill "$(cat "$TARNWICK_WINE_STATE/xvfb.pid")" || true
fi
: >"$TARNWICK_WINE_STATE/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TARNWICK_WINE_STATE/display" \
  </dev/null >/dev/null 2>&1 &
echo $! >"$TARNWICK_WINE_STATE/xvfb.pid"
for _ in $(seq 100); do
  [ -s "$TARNWICK_WINE_STATE/display" ] && break
  sleep 0.1
done
if [ ! -s "$TARNWICK_WINE_STATE/display" ]; then
  echo "FATAL: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$TARNWICK_WINE_STATE/display")"
echo "Xvfb on $DISPLAY"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating Wine prefix $WINEPREFIX"
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w
fi
# Everything that outlives this script (the server, services.exe, ...) gets /dev/null for
# its standard streams: CTest waits until no process holds its output pipe.
# A server left over from a run that died would hold the old display: end it first.
"$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
"$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
"$WINESERVER" -p </dev/null >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine' /v Version /d win10 /f </dev/null >/dev/null 2>&1

if [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  echo "FATAL: $WINEPREFIX is not a WoW64 prefix (no C:\\windows\\syswow64)" >&2
  exit 1
fi

# Proof that this build's programs run in this prefix, and that it reports Windows 10.
out="$(mktemp)"
"$WINE" cmd /c ver </dev/null >"$out" 2>&1 || true
version="$(tr -d '\r' <"$out")"
rm -f "$out"
if ! grep -q ' 10\.0' <<<"$version"; then
  echo "FATAL: Wine does not run programs in $WINEPREFIX or does not report Windows 10:" >&2
  echo "$version" >&2
  exit 1
fi
echo "Wine prefix ready: $(tr -d '\n' <<<"$version")"
