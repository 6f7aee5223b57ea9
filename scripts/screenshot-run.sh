#!/usr/bin/env bash
# Takes a picture of the run window after running example 7 ("prof_courbe_fonction.", a curve)
# to its end. Usage: scripts/screenshot-run.sh [output.png] [build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
exec scripts/screenshot.sh "${1:-docs/execution-dessin.png}" "${2:-build}" \
  --select-example 7 --run-program
