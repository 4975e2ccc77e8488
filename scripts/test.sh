#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest; then, for a run of
# every test, the engine and window tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the tests that work on several threads under ThreadSanitizer.
# KESTRUNE_SANITIZERS=off skips the sanitizer builds, =on runs them after a chosen set of tests too,
# =address or =thread runs only that one.
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$KESTRUNE_ROOT/scripts/setup.sh"

kestrune_install_packages
kestrune_build -DKESTRUNE_BUILD_TESTS=ON

export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
(cd "$KESTRUNE_BUILD" && ctest --output-on-failure --parallel "$(nproc)" "$@")

sanitizers="${KESTRUNE_SANITIZERS:-$([ $# -eq 0 ] && echo on || echo off)}"
[ "$sanitizers" != off ] || exit 0

ASAN_TESTS=(tst_udfscanner tst_udfnames tst_udfnamesobj tst_fluentmakefile tst_variantcmakelists
    tst_cmakerun tst_solutioncleanup tst_builders tst_createsolution tst_generatedfiles tst_resume
    tst_buildroot tst_msbuilddiagnostics tst_mainwindow tst_filelists tst_settings
    tst_createcommand tst_createbuild tst_installationpaths tst_createrun tst_tooloutput tst_cli
    tst_librarybuild)
SUPPRESSIONS="$KESTRUNE_ROOT/scripts/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$SUPPRESSIONS/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if [ "$sanitizers" != thread ]; then
    kestrune_sanitizer_run "address;undefined" "${KESTRUNE_BUILD}-asan" "${ASAN_TESTS[@]}"
fi
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

# Debian's Qt is not built with ThreadSanitizer: what it synchronises inside itself is passed over
# (tsan.supp), our own code is checked. The create off the caller's thread and its cancel, a
# resume, the coalesced regeneration with host and node compiled at once, a build of the libraries
# and its cancel, two command lines at once and a flooding tool. The window's tests are left out:
# they answer Qt's own file dialog, whose model gathers file information on a thread of Qt's, and
# ThreadSanitizer cannot see those hand-overs.
[ "$sanitizers" != address ] || exit 0
TSAN_TESTS=(tst_createsolution tst_resume tst_cli tst_librarybuild tst_tooloutput
    tst_generatedfiles)
export TSAN_OPTIONS="suppressions=$SUPPRESSIONS/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
kestrune_sanitizer_run thread "${KESTRUNE_BUILD}-tsan" "${TSAN_TESTS[@]}"
