#!/usr/bin/env bash
# Takes the pictures of example 7 ("prof_courbe_fonction.") run step by step, stopped after 57
# steps (one an algorithm line) with its curve partly drawn: both windows side by side, and the
# whole of a 1024 x 768 and of a 1920 x 1080 screen with the windows where they open.
# Usage: scripts/screenshot-step.sh [build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scripts/screenshot.sh docs/pas-a-pas.png "$build" --select-example 7 --step-program 57
SCREEN=1024x768 scripts/screenshot.sh docs/execution-1024x768.png "$build" \
  --select-example 7 --step-program 57 --screen
SCREEN=1920x1080 scripts/screenshot.sh docs/execution-1920x1080.png "$build" \
  --select-example 7 --step-program 57 --screen
