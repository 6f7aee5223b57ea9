#!/usr/bin/env bash
# Checks the Debian package that `make package` built: its contents and control fields, lintian,
# the desktop entry, the AppStream metadata, the MIME type and the manual pages with their own
# validators, then unpacks it into a scratch folder and runs both programs from there.
# Usage: scripts/check-package.sh [build directory or .deb file]   (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

target="${1:-build-package}"
if [ -d "$target" ]; then
  deb=$(ls -t "$target"/*.deb 2>/dev/null | head -n 1 || true)
else
  deb=$target
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "Aucun paquet .deb dans « $target » : lancez d'abord « make package »." >&2
  exit 1
fi
for tool in dpkg-deb readelf lintian desktop-file-validate appstreamcli update-mime-database man \
    lexgrog; do
  if ! command -v "$tool" >/dev/null; then
    echo "« $tool » est introuvable : lancez scripts/install-deps.sh." >&2
    exit 1
  fi
done

failures=0
fail() {
  echo "ÉCHEC : $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok : $*"; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "== $deb"
dpkg-deb --info "$deb"
echo "== Contenu"
dpkg-deb --contents "$deb" | tee "$scratch/contents"

# Debian's own checks: no error and no warning (its informational tags are French words it takes
# for English misspellings, and hardening notes).
echo "== lintian"
if lintian --fail-on error,warning "$deb" 2>&1 | grep -v "root privileges"; then :; fi
if lintian --fail-on error,warning "$deb" >/dev/null 2>&1; then
  pass "lintian : ni erreur ni avertissement"
else
  fail "lintian signale des erreurs ou des avertissements (ci-dessus)"
fi

# Exactly these files, nothing else (no cache written by a desktop tool while packaging).
expected_files=(
  ./usr/bin/pseudal2logo
  ./usr/bin/tortuval
  ./usr/share/applications/tortuval.desktop
  ./usr/share/doc/tortuval/changelog.gz
  ./usr/share/doc/tortuval/copyright
  ./usr/share/bash-completion/completions/pseudal2logo
  ./usr/share/icons/hicolor/256x256/apps/tortuval.png
  ./usr/share/icons/hicolor/scalable/apps/tortuval.svg
  ./usr/share/man/man1/pseudal2logo.1.gz
  ./usr/share/man/man1/tortuval.1.gz
  ./usr/share/metainfo/fr.tortuval.Tortuval.metainfo.xml
  ./usr/share/mime/packages/tortuval.xml
)
awk '$1 !~ /^d/ { print $6 }' "$scratch/contents" | sort >"$scratch/files"
printf '%s\n' "${expected_files[@]}" | sort >"$scratch/expected"
if diff -u "$scratch/expected" "$scratch/files"; then
  pass "le paquet contient les ${#expected_files[@]} fichiers attendus, et eux seuls"
else
  fail "le contenu du paquet diffère de la liste attendue (ci-dessus)"
fi

version=$(dpkg-deb --field "$deb" Version)
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
  [[ "$depends" == *"$library "* ]] || fail "Depends ne nomme pas $library : « $depends »"
done
pass "dépendances lues dans les programmes : $depends"

echo "== Installation dans $scratch/racine"
dpkg -x "$deb" "$scratch/racine"
root="$scratch/racine"

for program in pseudal2logo tortuval; do
  if readelf -S "$root/usr/bin/$program" | grep -Eq '\.symtab|\.debug_'; then
    fail "$program n'est pas dépouillé de ses symboles"
  else
    pass "$program est dépouillé (strip)"
  fi
done

# desktop-file-validate prints hints too (such as two main categories): any line counts.
desktop_report=$(desktop-file-validate "$root/usr/share/applications/tortuval.desktop" 2>&1) &&
  [ -z "$desktop_report" ] && pass "desktop-file-validate" ||
  fail "desktop-file-validate : $desktop_report"

if appstreamcli validate-tree --no-net --explain "$root"; then
  pass "appstreamcli validate-tree (métadonnées AppStream et entrée de bureau qu'elles lancent)"
else
  fail "appstreamcli validate-tree"
fi
metainfo="$root/usr/share/metainfo/fr.tortuval.Tortuval.metainfo.xml"
grep -q "<release version=\"$version\"" "$metainfo" ||
  fail "les métadonnées AppStream n'annoncent pas la version $version"

# The shared MIME database compiles the type, as the system's trigger will after installation.
mkdir -p "$scratch/share"
cp -r "$root/usr/share/mime" "$scratch/share/mime"
if XDG_DATA_DIRS="$scratch/share" update-mime-database "$scratch/share/mime" 2>"$scratch/mime.log" &&
  [ ! -s "$scratch/mime.log" ] &&
  grep -q 'glob pattern="\*.alg"' "$scratch/share/mime/application/x-pseudal-algo.xml"; then
  pass "type MIME application/x-pseudal-algo (*.alg)"
else
  fail "type MIME : $(cat "$scratch/mime.log")"
fi

for page in pseudal2logo tortuval; do
  file="$root/usr/share/man/man1/$page.1.gz"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$scratch/$page.txt") || true
  if [ -n "$warnings" ] || ! grep -q "^NOM" "$scratch/$page.txt"; then
    fail "man -l $page.1.gz : ${warnings:-page vide}"
  elif ! lexgrog "$file" | grep -q "$page - "; then
    fail "lexgrog ne trouve pas la section NOM de $page(1)"
  else
    pass "man $page : $(wc -l <"$scratch/$page.txt") lignes, sans avertissement"
  fi
done

echo "== Les programmes installés"
cli="$root/usr/bin/pseudal2logo"
if [[ "$("$cli" --version)" == *"$version"* ]]; then
  pass "pseudal2logo --version : $version"
else
  fail "pseudal2logo --version : « $("$cli" --version 2>&1) »"
fi
example="$source_dir/examples/08-prof_pgdc_Euclide"
if "$cli" --lf "$example.alg" | cmp -s - "$example.lgo"; then
  pass "pseudal2logo convertit examples/08-prof_pgdc_Euclide.alg exactement"
else
  fail "la conversion de examples/08-prof_pgdc_Euclide.alg diffère de son .lgo"
fi

window="$root/usr/bin/tortuval"
export QT_QPA_PLATFORM=offscreen
"$window" --help >"$scratch/help.txt" 2>&1 || fail "tortuval --help : $(cat "$scratch/help.txt")"
if grep -q -- "--version" "$scratch/help.txt"; then
  if [[ "$(timeout 30 "$window" --version 2>/dev/null)" == *"$version"* ]]; then
    pass "tortuval --version : $version"
  else
    fail "tortuval --version : « $(timeout 30 "$window" --version 2>&1) »"
  fi
else
  echo "note : ce tortuval n'a pas encore d'option --version ; la fenêtre est essayée seule."
fi
# The window starts, converts an example and paints itself, without a screen.
if timeout 60 "$window" --select-example 8 --screenshot "$scratch/fenetre.png" 2>"$scratch/window.log" &&
  [ "$(head -c 8 "$scratch/fenetre.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]; then
  pass "tortuval s'ouvre sans écran et dessine sa fenêtre (image PNG)"
else
  fail "tortuval --screenshot : $(cat "$scratch/window.log")"
fi

# The completion as bash uses it: the example numbers after --example.
completion=$(bash -c '
  source "$1"
  COMP_WORDS=(pseudal2logo --example "")
  COMP_CWORD=2
  _pseudal2logo 2>/dev/null
  echo "${COMPREPLY[*]}"' sh "$root/usr/share/bash-completion/completions/pseudal2logo")
if [ "$completion" = "$(seq -s ' ' 1 17)" ]; then
  pass "complétion bash : --example propose 1 à 17"
else
  fail "complétion bash : --example propose « $completion »"
fi

if [ "$failures" -ne 0 ]; then
  echo "Paquet $deb : $failures vérification(s) en échec." >&2
  exit 1
fi
echo "Paquet $deb : toutes les vérifications sont passées."
