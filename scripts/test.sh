#!/bin/bash
# Passes every test: installs what is missing, builds every preset, and runs the native
# tests (plain and with sanitizers), the Windows tests and the end-to-end tier under Wine for
# both architectures (the 32-bit build under WoW64), and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_WINDOWS $TARNWICK_PKGS_WINE $TARNWICK_PKGS_WINE32 $TARNWICK_PKGS_TESTS $TARNWICK_PKGS_FUZZ

passed=0
failed=0
step() {
  local name="$1"
  shift
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "=== $name FAILED" >&2
    failed=$((failed + 1))
  fi
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }
native() { build "$1" && ctest --preset "$1"; }
win64() { build win64 && ctest --preset win64; }
win32() { build win32 && ctest --preset win32; }

step "native tests (linux)" native linux
step "native tests (linux-asan)" native linux-asan
step "Windows and end-to-end tests under Wine (win64)" win64
step "Windows and end-to-end tests under WoW64 Wine (win32)" win32
step "fuzz targets, 5 s each from their seeds (fuzz)" scripts/fuzz.sh 5

echo "tiers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
