#!/usr/bin/env bash
# Prints the emscripten cache folder `make web` must use, or nothing when Debian's own will do.
# Debian ships emscripten's libraries prebuilt in /usr/share/emscripten/cache, which emscripten
# also writes to (its lock); a user who cannot write there gets a copy of it in their own cache.
set -euo pipefail
debian_cache=/usr/share/emscripten/cache
[ -d "$debian_cache" ] || exit 0
[ -w "$debian_cache" ] && exit 0
own_cache="${XDG_CACHE_HOME:-$HOME/.cache}/tortuval-emscripten"
if [ ! -d "$own_cache/sysroot" ]; then
  mkdir -p "$own_cache"
  cp -r "$debian_cache/." "$own_cache/"
fi
echo "$own_cache"
