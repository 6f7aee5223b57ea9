#!/usr/bin/env bash
# Pictures of the page (build-web/, from `cmake --workflow --preset web`, or $TORTUVAL_PAGE) in
# Chromium, Firefox and WebKit: example 7 stepped 100 lines at 1024 x 768 in each
# (docs/page-1024x768-<engine>.png), and in Chromium at 1366 x 768, 1920 x 1080 and 1024 x 768
# zoomed to 150 % (docs/page-1366x768-chromium.png, docs/page-1920x1080-chromium.png,
# docs/page-1024x768-150pct.png); docs/page-exemple-8.png and docs/page-exemple-8-python.png at
# 1280 x 800.
# Usage: scripts/web-screenshots.sh [output folder] [engine...]   (default docs, all three)
set -euo pipefail
cd "$(dirname "$0")/.."
page=${TORTUVAL_PAGE:-build-web/index.html}
[ -f "$page" ] || { echo "missing $page: run cmake --workflow --preset web" >&2; exit 2; }
out=${1:-docs}
shift || true
engines=()
for engine in "$@"; do engines+=(--engine "$engine"); done
mkdir -p "$out"
# Debian's python: it has python3-selenium and python3-websockets.
exec /usr/bin/python3 scripts/web_screenshots.py --page "$page" --out "$out" "${engines[@]}"
