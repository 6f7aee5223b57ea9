#!/usr/bin/env bash
# Checks the files the package installs from the source tree, without building the package: the
# changelog names the project's version, the copyright is machine-readable, the desktop entry and
# the AppStream metadata pass their validators and carry the project's version,
# the manual pages render without warnings and document every option each program's help lists,
# and the bash completion offers pseudal2logo's options, example numbers and documents.
# Usage: package_files_test.sh SOURCE_DIR VERSION PSEUDAL2LOGO [TORTUVAL]
# Exit status 77 (skipped) when a validator is not installed (scripts/install-deps.sh installs them).
set -uo pipefail
source_dir=$1
version=$2
cli=$3
window=${4:-}

for tool in desktop-file-validate appstreamcli man lexgrog; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool est introuvable : test sauté (scripts/install-deps.sh l'installe)."
    exit 77
  fi
done

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...: runs the command, counts and names a failure
  local description=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "ÉCHEC : $description"
    failed=$((failed + 1))
  fi
}

# The package's changelog names the version it is for, and its copyright is machine-readable.
check "packaging/changelog commence par « tortuval ($version) »" \
  grep -q "^tortuval ($version) " "$source_dir/packaging/changelog"
check "packaging/copyright au format lisible par machine" \
  grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$source_dir/packaging/copyright"

resources="$source_dir/app/resources"
silent_desktop_validation() {
  local report
  report=$(desktop-file-validate "$resources/tortuval.desktop" 2>&1) || return 1
  [ -z "$report" ] || { echo "$report"; return 1; }
}
check "desktop-file-validate tortuval.desktop" silent_desktop_validation

metainfo="$resources/fr.tortuval.Tortuval.metainfo.xml"
check "appstreamcli validate" appstreamcli validate --no-net --explain "$metainfo"
check "les métadonnées AppStream annoncent la version $version" \
  grep -q "<release version=\"$version\"" "$metainfo"
check "les métadonnées AppStream lancent tortuval.desktop" \
  grep -q '<launchable type="desktop-id">tortuval.desktop</launchable>' "$metainfo"

# man --warnings asks groff for its warnings; a page that renders must also keep its NAME line.
renders_cleanly() {
  local page=$1 warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  lexgrog "$page" | grep -q " - "
}

# Every option named in a program's help is documented in its page (as groff source: "\-\-x").
documents_help_options() {
  local page=$1 help=$2 option missing=0
  for option in $(grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' <<<"$help" | tr -d ' ,' | sort -u); do
    if ! grep -qF -- "${option//-/\\-}" "$page"; then
      echo "$page ne documente pas $option"
      missing=1
    fi
  done
  return $missing
}

man_dir="$source_dir/docs/man"
check "man pseudal2logo sans avertissement" renders_cleanly "$man_dir/pseudal2logo.1"
check "pseudal2logo(1) documente l'aide de pseudal2logo" \
  documents_help_options "$man_dir/pseudal2logo.1" "$("$cli" --help)"
if [ -n "$window" ]; then
  check "man tortuval sans avertissement" renders_cleanly "$man_dir/tortuval.1"
  check "tortuval(1) documente l'aide de tortuval" \
    documents_help_options "$man_dir/tortuval.1" "$(QT_QPA_PLATFORM=offscreen "$window" --help)"
fi

# The completion, driven as bash drives it: words so far, the index of the word being completed.
completion="$source_dir/packaging/bash-completion/pseudal2logo"
complete_words() {
  (
    source "$completion"
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _pseudal2logo 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort
  )
}
expect_completion() {  # expect_completion "EXPECTED (one a line, sorted)" WORDS...
  local expected=$1 actual
  shift
  actual=$(complete_words "$@")
  [ "$actual" = "$expected" ] || { printf 'attendu :\n%s\nobtenu :\n%s\n' "$expected" "$actual"; return 1; }
}
example_count=$("$cli" --examples | wc -l)
check "--example propose les $example_count numéros d'exemple" \
  expect_completion "$(seq 1 "$example_count" | sort)" pseudal2logo --example ""
check "--example-source=1 propose 1 et 10 à 17" \
  expect_completion "$(printf '%s\n' 1 10 11 12 13 14 15 16 17 | sort)" \
  pseudal2logo --example-source = 1
check "--encoding propose les deux encodages" \
  expect_completion "$(printf '%s\n' cp1252 utf-8)" pseudal2logo --encoding ""
offers_help_options() {
  local option missing=0 offered
  offered=$(complete_words pseudal2logo -)
  for option in $(grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' <<<"$("$cli" --help)" | tr -d ' ,' | sort -u); do
    grep -qx -- "$option" <<<"$offered" || { echo "la complétion n'offre pas $option"; missing=1; }
  done
  return $missing
}
check "la complétion offre chaque option de l'aide" offers_help_options

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/cours"
touch "$scratch/euclide.alg" "$scratch/TRI.ALG" "$scratch/euclide.lgo" "$scratch/notes.txt"
cd "$scratch"
check "un document : les .alg (toute casse) et les dossiers" \
  expect_completion "$(printf '%s\n' TRI.ALG cours euclide.alg | sort)" pseudal2logo ""
check "avec --check : aussi les programmes .lgo" \
  expect_completion "$(printf '%s\n' TRI.ALG cours euclide.alg euclide.lgo | sort)" \
  pseudal2logo --check ""
check "-d : les dossiers seulement" expect_completion "cours" pseudal2logo -d ""

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
