#!/bin/sh
# Both programs give the project's version, and the window program answers --version, --help and
# -h on standard output without a display (run with the xcb platform and no DISPLAY, where opening
# a window would abort).
# Usage: version_and_help.sh TORTUVAL PSEUDAL2LOGO VERSION
set -u
tortuval=$1
pseudal2logo=$2
version=$3
failed=0

check() {  # what, got, expected
  if [ "$2" != "$3" ]; then
    printf '%s: got "%s", expected "%s"\n' "$1" "$2" "$3"
    failed=1
  fi
}

check "tortuval --version" "$("$tortuval" --version; echo "status $?")" "tortuval $version
status 0"
check "pseudal2logo --version" "$("$pseudal2logo" --version)" "pseudal2logo $version"
help=$("$tortuval" --help) || { echo "tortuval --help failed"; failed=1; }
check "tortuval --help, first line" "$(printf '%s\n' "$help" | head -n 1)" \
  "Utilisation : tortuval [options] [FICHIER]"
check "tortuval -h" "$("$tortuval" -h)" "$help"
exit $failed
