#!/bin/bash
# Prints the benchmark figures: the refresh and merge of a large simulated system natively
# and under Wine, and under Wine a repeated refresh of the real system with 1,000 seeded Run
# values beside the bare API loop that reads the same data (the floor).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_WINDOWS $TARNWICK_PKGS_WINE valgrind
for preset in linux win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target bench >/dev/null
done
cmake --build --preset win64 --target bench_floor >/dev/null

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

env_file=build/win64/wine-env.sh
tests/wine/prefix-up.sh "$env_file" >/dev/null
trap 'tests/wine/prefix-down.sh "$env_file"' EXIT
source "$env_file"
echo "=== Wine (simulated system)"
"$WINE" build/win64/bin/bench.exe </dev/null 2>&1 | tr -d '\r'
echo "=== Wine (real registry, file system, service manager and Task Scheduler)"
"$WINE" build/win64/bin/bench_floor.exe </dev/null 2>&1 | tr -d '\r'
