#!/usr/bin/env bash
# Takes a picture of the window after choosing example 8 ("prof_pgdc_Euclide."), on a virtual
# 1366 x 768 screen. Usage: scripts/screenshot.sh [output.png] [build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-build/tortuval-exemple-8.png}"
build="${2:-build}"

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run est introuvable : lancez scripts/install-deps.sh." >&2
  exit 1
fi
mkdir -p "$(dirname "$output")"
output="$(cd "$(dirname "$output")" && pwd)/$(basename "$output")"
# The window picks the example and saves its picture from inside its own event loop, then quits.
xvfb-run -a -s "-screen 0 1366x768x24" \
  "$build/app/tortuval" --select-example 8 --screenshot "$output"
echo "Image enregistrée : $output"
