#!/bin/bash
# Ends the wineserver of this build's prefix only; other prefixes are left alone.
set -uo pipefail
source "$1"
"$WINESERVER" -k 2>/dev/null
"$WINESERVER" -w 2>/dev/null
if [ -s "$TARNWICK_WINE_STATE/xvfb.pid" ]; then
  kill "$(cat "$TARNWICK_WINE_STATE/xvfb.pid")" 2>/dev/null
  rm -f "$TARNWICK_WINE_STATE/xvfb.pid" "$TARNWICK_WINE_STATE/display"
fi
exit 0
