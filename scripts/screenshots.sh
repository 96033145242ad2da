#!/bin/bash
# Writes PNG screenshots of the real Tarnwick window under Wine (Xvfb, the test prefix) into
# build/win64/screenshots/: the main window with marked rows, its row menu and an entry's
# Properties in ko, en, ja and ar at 96 and 144 DPI; the notice bar, All Programs checked, and
# the update dialog with a note link and a hold box.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_WINDOWS $TARNWICK_PKGS_WINE $TARNWICK_PKGS_TESTS
cmake --preset win64 >/dev/null
cmake --build --preset win64
env_file=build/win64/wine-env.sh
tests/wine/prefix-up.sh "$env_file"
trap 'tests/wine/prefix-down.sh "$env_file"' EXIT
python3 tests/e2e/screenshots.py --bin build/win64/bin --wine-env "$env_file" --out build/win64/screenshots
