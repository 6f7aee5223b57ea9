#!/usr/bin/env bash
# Pictures of the page (build-web/, from `cmake --workflow --preset web`) in headless Chromium:
# docs/page-exemple-8.png at 1280 x 800, and example 7 stepped 100 lines at 1024 x 768 and
# 1920 x 1080 (docs/page-pas-a-pas-1024x768.png, docs/page-pas-a-pas-1920x1080.png).
# Usage: scripts/web-screenshots.sh [output folder]   (default docs)
set -euo pipefail
cd "$(dirname "$0")/.."
page=build-web/index.html
[ -f "$page" ] || { echo "missing $page: run cmake --workflow --preset web" >&2; exit 2; }
out=${1:-docs}
mkdir -p "$out"
# Debian's python: it has python3-selenium.
exec /usr/bin/python3 scripts/web_screenshots.py --page "$page" --out "$out"
