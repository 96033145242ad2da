#!/bin/bash
# Runs Tarnwick: builds the Windows programs and starts Tarnwick.exe under Wine in the
# project's own prefix (build/run-prefix), on $DISPLAY. Without a display it prints the
# catalogue of that prefix with tarnwickc instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_WINDOWS $TARNWICK_PKGS_WINE $TARNWICK_PKGS_WINE32

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tarnwick TarnwickService tarnwickc

export WINEPREFIX="$PWD/build/run-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (once)..."
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINE" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
fi

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Tarnwick.exe on $DISPLAY"
  exec "$WINE" build/win64/bin/Tarnwick.exe
fi
echo "No display: the startup catalogue of $WINEPREFIX, as tarnwickc lists it:"
"$WINE" build/win64/bin/tarnwickc.exe list
