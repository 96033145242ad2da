#!/bin/bash
# Checks the programs' PE headers: check-pe.sh BIN_DIR x86-64|i386
set -euo pipefail
bin="$1"
arch="$2"
case "$arch" in
  x86-64) pe="PE32+"; objdump=x86_64-w64-mingw32-objdump ;;
  i386) pe="PE32"; objdump=i686-w64-mingw32-objdump; arch="Intel 80386" ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
status=0
expect() {
  local exe="$1" subsystem="$2"
  local info
  info="$(file -b "$bin/$exe")"
  case "$info" in
    "$pe executable ($subsystem)"*"$arch"*) echo "ok   $exe: $info" ;;
    *) echo "FAIL $exe: $info (want $pe $subsystem $arch)"; status=1 ;;
  esac
  # No DLL beyond the system's: nothing from the MinGW runtime may be imported.
  if "$objdump" -p "$bin/$exe" | grep -iE 'DLL Name: *(libstdc|libgcc|libwinpthread)' ; then
    echo "FAIL $exe imports a MinGW runtime DLL"; status=1
  fi
}
expect Tarnwick.exe GUI
expect TarnwickService.exe GUI
expect tarnwickc.exe console
exit $status
