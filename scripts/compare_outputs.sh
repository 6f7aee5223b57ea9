#!/usr/bin/env bash
# Shows that a change to the converter leaves its output alone: builds the benchmark tool from
# the working tree and from a copy in which FILEs are as last committed, converts the same
# generated documents and examples with both, and compares sizes and hashes of both panes.
# Usage: scripts/compare_outputs.sh FILE...   (paths relative to the repository root)
# Only reads the repository: the committed versions come from `git show`.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 0 ] && { echo "usage: $0 FILE..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same tree, build folders and git data left out, with FILEs put back as committed.
mkdir "$work/before"
tar --exclude='./build*' --exclude='./.git' -cf - . | tar -xf - -C "$work/before"
for file in "$@"; do
  git show "HEAD:$file" >"$work/before/$file"
done

build() {  # SOURCE_DIR BUILD_DIR
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORTUVAL_BUILD_BENCH=ON \
    -DTORTUVAL_BUILD_APP=OFF -DTORTUVAL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$2" -j2 --target tortuval_bench_tool >/dev/null
}
build "$work/before" "$work/build-before"
build . "$work/build-after"

"$work/build-before/bench/tortuval_bench_tool" digests >"$work/before.txt"
"$work/build-after/bench/tortuval_bench_tool" digests >"$work/after.txt"
if diff "$work/before.txt" "$work/after.txt"; then
  echo "same output for all $(wc -l <"$work/after.txt") documents (generated and examples)"
else
  echo "outputs differ (lines above: name, input size, LOGO size and hash, listing size and hash)"
  exit 1
fi
