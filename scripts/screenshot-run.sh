#!/usr/bin/env bash
# Takes a picture of the run window after running example 7 ("prof_courbe_fonction.", a curve),
# on a virtual 1366 x 768 screen. Usage: scripts/screenshot-run.sh [output.png] [build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-docs/execution-dessin.png}"
build="${2:-build}"

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run est introuvable : lancez scripts/install-deps.sh." >&2
  exit 1
fi
mkdir -p "$(dirname "$output")"
output="$(cd "$(dirname "$output")" && pwd)/$(basename "$output")"
# The window picks the example, runs its program to the end and saves the run window's picture.
xvfb-run -a -s "-screen 0 1366x768x24" \
  "$build/app/tortuval" --select-example 7 --run-program --screenshot "$output"
echo "Image enregistrée : $output"
