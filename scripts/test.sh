#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest.
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$KESTRUNE_ROOT/scripts/setup.sh"

kestrune_install_packages
kestrune_build -DKESTRUNE_BUILD_TESTS=ON

export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
cd "$KESTRUNE_BUILD"
ctest --output-on-failure --parallel "$(nproc)" "$@"
