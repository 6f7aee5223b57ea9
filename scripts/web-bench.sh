#!/usr/bin/env bash
# The page (build-web/, from `cmake --workflow --preset web`) in Chromium, Firefox ESR and WebKitGTK
# against the native command line: conversion of the bench's 8 MB document, four programs run,
# the page's time to be ready and its size on disk, a 5 MB document opened and keys typed in it.
# Usage: scripts/web-bench.sh [--engines chromium firefox webkit]
#        (the Release build-bench/ when there, else build/)
set -euo pipefail
cd "$(dirname "$0")/.."
page=build-web/index.html
[ -f "$page" ] || { echo "missing $page: run cmake --workflow --preset web" >&2; exit 2; }
build=build
[ -x build-bench/cli/pseudal2logo ] && build=build-bench
tool=build-bench/bench/tortuval_bench_tool
[ -x "$tool" ] || tool="$build/bench/tortuval_bench_tool"
[ -x "$tool" ] || { echo "missing tortuval_bench_tool: run make bench" >&2; exit 2; }
# The native side measured is today's code, as the page is.
cmake --build "$build" --target pseudal2logo >/dev/null
cmake --build "$(dirname "$(dirname "$tool")")" --target tortuval_bench_tool >/dev/null
# Debian's python: it has python3-selenium and python3-websockets.
exec /usr/bin/python3 scripts/web_bench.py --page "$page" --cli "$build/cli/pseudal2logo" --tool "$tool" "$@"
