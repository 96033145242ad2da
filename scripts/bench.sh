#!/bin/bash
# Prints the benchmark figures: the refresh and merge of a large simulated system natively
# and under Wine, and under Wine a repeated refresh of the real system with 1,000 seeded Run
# values beside the bare API loop that reads the same data (the floor), and the time from the
# start of Tarnwick.exe to its first filled list. The Wine figures are
# printed for both builds: x86_64, and i686 under WoW64, where costs of its own show up.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_WINDOWS $TARNWICK_PKGS_WINE $TARNWICK_PKGS_WINE32 valgrind
for preset in linux win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target bench >/dev/null
done
for preset in win64 win32; do
  cmake --build --preset "$preset" --target bench_floor Tarnwick uidrive >/dev/null
done

echo "=== native (simulated system)"
build/linux/bin/bench

# Wall-clock growth on a shared machine is noisy; instruction counts are not.
echo "=== native instructions in LoadAutorun (a first load and a repeat), callgrind"
declare -A instructions
for scale in 1 4; do
  out="build/linux/callgrind.$scale"
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='tarnwick::AutorunModel::LoadAutorun*' \
    build/linux/bin/bench "$scale" >/dev/null 2>&1
  instructions[$scale]="$(sed -n 's/^summary: //p' "$out")"
  echo "instructions_${scale}x ${instructions[$scale]}"
done
awk -v a="${instructions[1]}" -v b="${instructions[4]}" 'BEGIN { printf "growth_instructions_4x_over_1x %.2f\n", b / a }'

wine_figures() {
  local preset="$1" env_file="build/$1/wine-env.sh"
  tests/wine/prefix-up.sh "$env_file" >/dev/null
  (
    trap 'tests/wine/prefix-down.sh "$env_file"' EXIT
    source "$env_file"
    echo "=== Wine $preset (simulated system)"
    "$WINE" "build/$preset/bin/bench.exe" </dev/null 2>&1 | tr -d '\r'
    echo "=== Wine $preset (real registry, file system, service manager and Task Scheduler)"
    "$WINE" "build/$preset/bin/bench_floor.exe" </dev/null 2>&1 | tr -d '\r'
    echo "=== Wine $preset (Tarnwick.exe: from its start to the first filled list)"
    python3 bench/first_rows.py --wine-env "$env_file" --bin "build/$preset/bin"
  )
}
wine_figures win64
wine_figures win32
