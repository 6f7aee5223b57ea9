#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libfast-float-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  xvfb xauth fonts-dejavu-core
  # make web: the page, compiled by emscripten (its tools need the acorn node module); the page's
  # tests drive it in Chromium, Firefox ESR (WebDriver BiDi over websockets) and WebKitGTK
  emscripten node-acorn chromium chromium-driver python3-selenium
  firefox-esr python3-websockets webkit2gtk-driver
  # the page's code panes: the editor component's packages come from the npm registry (as
  # web/editor/package-lock.json pins them), bundled by esbuild
  esbuild
  # the algorithm written in Python is run by CPython and checked by pyflakes
  python3 python3-pyflakes python3-matplotlib
  # make package: the .deb's dependencies, and the validators of what it installs
  dpkg-dev lintian desktop-file-utils appstream shared-mime-info man-db
)

# npm: the machine's own when it has one, else Debian's.
command -v npm >/dev/null || packages+=(npm)

# One query for the whole list: "name<TAB>status" for each package dpkg knows; a package it does
# not know is left out of the answer, so it counts as missing too.
installed=" $(dpkg-query -W -f='${Package}\t${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null |
  awk -F'\t' '$2 ~ /^ii/ { printf "%s ", $1 }' || true)"
missing=()
for package in "${packages[@]}"; do
  [[ "$installed" == *" $package "* ]] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
