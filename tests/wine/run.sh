#!/bin/bash
# Runs one Windows program in the test prefix, on the run's X server: run.sh ENV PROGRAM [ARGS...]
set -euo pipefail
source "$1"
shift
exec "$WINE" "$@"
