#!/usr/bin/env bash
# Times from process start until the main window is mapped, under Xvfb, over a few runs.
# Usage: bench/window-startup.sh [build folder]   (needs xvfb and x11-utils' xwininfo)
set -euo pipefail
build="$(cd "${1:-$(dirname "$0")/../build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/work"
cd "$work/work"
xvfb-run -a -s "-screen 0 1024x600x24" bash -c '
    for run in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$1" 2>/dev/null & app=$!
        until xwininfo -name Kestrune 2>/dev/null | grep -q IsViewable; do sleep 0.005; done
        end=$(date +%s%N)
        echo "run $run: window shown $(( (end - start) / 1000000 )) ms after process start"
        kill $app; wait $app 2>/dev/null || true
    done' _ "$build/app/kestrune"
