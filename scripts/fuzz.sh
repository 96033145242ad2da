#!/bin/bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for SECONDS (default 60) from its seed corpus. A crash, a hang (one input over 10 s) or
# a sanitizer report fails; the input that did it is kept in build/fuzz/artifacts.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tarnwick_ensure_packages $TARNWICK_PKGS_NATIVE $TARNWICK_PKGS_FUZZ

seconds="${1:-60}"
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=($(cd fuzz/corpus && ls))
fi

mkdir -p build/fuzz/artifacts
failed=()
for target in "${targets[@]}"; do
  # New inputs go to a working corpus in the build tree; the seeds in the source tree stay.
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  echo "=== $target (${seconds} s)"
  if ! build/fuzz/bin/"$target" "$work" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/artifacts/$target-" >"build/fuzz/$target.log" 2>&1; then
    tail -40 "build/fuzz/$target.log" >&2
    failed+=("$target")
  else
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)" "build/fuzz/$target.log" | tr '\n' ' '
    echo
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz targets failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds} s each without a finding"
