#!/usr/bin/env bash
# Times from process start until the main window is mapped, under Xvfb, for Kestrune's window and
# for an empty Qt window, in turns within one run, and prints the best of each and their ratio.
# Usage: bench/window-startup.sh [build folder]   (needs xvfb and x11-utils' xwininfo)
set -euo pipefail
build="$(cd "${1:-$(dirname "$0")/../build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/work"
cd "$work/work"
xvfb-run -a -s "-screen 0 1024x600x24" bash -c '
    # Milliseconds from starting program $1 until a window named $2 is viewable; 999999 when it
    # is not shown within 20 s.
    shown() {
        local start end app
        start=$(date +%s%N)
        "$1" 2>/dev/null & app=$!
        until xwininfo -name "$2" 2>/dev/null | grep -q IsViewable; do
            (( $(date +%s%N) - start < 20000000000 )) || break
            sleep 0.005
        done
        end=$(date +%s%N)
        kill $app 2>/dev/null; wait $app 2>/dev/null || true
        (( end - start < 20000000000 )) && echo $(( (end - start) / 1000000 )) || echo 999999
    }
    best_kestrune=999999 best_empty=999999
    for run in 1 2 3 4 5; do
        empty=$(shown "$2" EmptyQtWindow)
        kestrune=$(shown "$1" Kestrune)
        said() { (( $1 < 999999 )) && echo "after $1 ms" || echo "not within 20 s"; }
        echo "run $run: Kestrune shown $(said $kestrune), an empty Qt window $(said $empty)"
        (( kestrune < best_kestrune )) && best_kestrune=$kestrune
        (( empty < best_empty )) && best_empty=$empty
    done
    echo "best: Kestrune $best_kestrune ms, empty Qt window $best_empty ms," \
        "ratio $(awk "BEGIN { printf \"%.2f\", $best_kestrune / $best_empty }") (target at most 1.5)"
    ' _ "$build/app/kestrune" "$build/bench/kestrune_emptywindow"
