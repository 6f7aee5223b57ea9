#!/usr/bin/env bash
# Starts the window when there is a display; otherwise shows what the converter does with the
# example "prof_pgdc_Euclide." and explains how to open the window.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${TORTUVAL_BUILD_DIR:-build}"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/app/tortuval" "$@"
fi

echo "Aucun affichage graphique (ni DISPLAY ni WAYLAND_DISPLAY) : voici la conversion de"
echo "l'exemple 8, « prof_pgdc_Euclide. », par la commande $build/cli/pseudal2logo --example 8."
echo
"$build/cli/pseudal2logo" --example 8
echo
echo "Pour ouvrir la fenêtre, lancez « make run » depuis une session graphique,"
echo "ou directement : $build/app/tortuval [fichier.alg]"
echo "(sans écran : xvfb-run -a $build/app/tortuval ; scripts/screenshot.sh en fait une image)."
