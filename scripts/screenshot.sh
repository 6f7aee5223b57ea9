#!/usr/bin/env bash
# Takes a picture of the window on a virtual 1366 x 768 screen (SCREEN=1024x768 for another
# size), by default after choosing example 8 ("prof_pgdc_Euclide.").
# Usage: scripts/screenshot.sh [output.png] [build directory] [tortuval options…]
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-build/tortuval-exemple-8.png}"
build="${2:-build}"
shift $(( $# > 2 ? 2 : $# ))
options=("$@")
[ ${#options[@]} -eq 0 ] && options=(--select-example 8)

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run est introuvable : lancez scripts/install-deps.sh." >&2
  exit 1
fi
mkdir -p "$(dirname "$output")"
output="$(cd "$(dirname "$output")" && pwd)/$(basename "$output")"
# The window applies its options and saves its picture from inside its own event loop, then quits.
xvfb-run -a -s "-screen 0 ${SCREEN:-1366x768}x24" "$build/app/tortuval" "${options[@]}" --screenshot "$output"
echo "Image enregistrée : $output"
