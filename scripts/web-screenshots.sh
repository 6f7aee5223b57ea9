#!/usr/bin/env bash
# Pictures of the page (build-web/, from `cmake --workflow --preset web`) in headless Chromium at
# 1280 x 800: docs/page-exemple-8.png and docs/page-pas-a-pas.png (example 7 stepped 120 times).
# Usage: scripts/web-screenshots.sh [output folder]   (default docs)
set -euo pipefail
cd "$(dirname "$0")/.."
page=build-web/index.html
[ -f "$page" ] || { echo "missing $page: run cmake --workflow --preset web" >&2; exit 2; }
out=${1:-docs}
mkdir -p "$out"
# Debian's python: it has python3-selenium.
exec /usr/bin/python3 scripts/web_screenshots.py --page "$page" --out "$out"
