#!/usr/bin/env bash
# Installs what is missing, builds and starts the window (under Xvfb when there is no display).
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$KESTRUNE_ROOT/scripts/setup.sh"

kestrune_install_packages
kestrune_build

if [ -n "${DISPLAY:-}" ]; then
    exec "$KESTRUNE_BUILD/app/kestrune"
fi
echo "No display: starting the window under Xvfb and saving a screenshot to $KESTRUNE_BUILD/kestrune.png"
xvfb-run -a -s "-screen 0 1024x600x24" bash -c '
    "$1" & app=$!
    sleep 3
    import -window root "$2"
    kill $app' _ "$KESTRUNE_BUILD/app/kestrune" "$KESTRUNE_BUILD/kestrune.png"
