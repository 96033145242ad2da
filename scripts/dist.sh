#!/bin/bash
# Builds the release files into dist/ from fresh build folders: for x86_64 and i686 a portable
# zip (the three programs, README.txt, LICENSE.txt) and an MSI installer, with SHA256SUMS.
# The maker's addresses come from the environment (TARNWICK_UPDATE_URL, TARNWICK_LOOKUP_URL,
# TARNWICK_LOGO_URL, TARNWICK_SITE_URL); unset ones keep the reserved morvessa.example.
#   scripts/dist.sh [--allow-dirty]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_WINDOWS python3 file

if [ "${1:-}" != "--allow-dirty" ] && [ -n "$(git status --porcelain 2>/dev/null)" ]; then
  echo "The work tree has changes that are not committed: release files are built from a" >&2
  echo "committed state. Commit or stash them, or pass --allow-dirty." >&2
  exit 1
fi

defines=()
for name in TARNWICK_UPDATE_URL TARNWICK_LOOKUP_URL TARNWICK_LOGO_URL TARNWICK_SITE_URL; do
  if [ -n "${!name:-}" ]; then
    defines+=("-D$name=${!name}")
  else
    echo "note: $name not set; the release keeps the reserved address on morvessa.example" >&2
  fi
done

rm -rf dist
mkdir -p dist
for preset in release-win64 release-win32; do
  rm -rf "build/$preset"
  cmake --preset "$preset" "${defines[@]}" >/dev/null
  cmake --build --preset "$preset"
  tests/build/check-pe.sh "build/$preset/bin" "$([ "$preset" = release-win64 ] && echo x86-64 || echo i386)"
  cp "build/$preset"/packages/*.zip "build/$preset"/packages/*.msi dist/
done
(cd dist && sha256sum -- *.zip *.msi >SHA256SUMS)
echo "release files of $(git describe --always --dirty 2>/dev/null || echo 'an unknown commit'):"
ls -l dist
