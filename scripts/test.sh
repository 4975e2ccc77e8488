#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest; then, for a run of
# every test, the engine and window tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer (and, when asked, the tests that work on several threads under
# ThreadSanitizer).
# KESTRUNE_SANITIZERS=off skips the sanitizer builds, =on runs them after a chosen set of tests too,
# =thread adds the ThreadSanitizer build.
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
kestrune_sanitizer_run "address;undefined" "${KESTRUNE_BUILD}-asan" "${ASAN_TESTS[@]}"
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

# ThreadSanitizer only when asked (KESTRUNE_SANITIZERS=thread): Debian's Qt is not built with it,
# and every report it gives here so far is a hand-over it cannot see inside Qt (a queued signal
# carrying a string from a worker to the window's thread, a QThread's end).
[ "${KESTRUNE_SANITIZERS:-}" = thread ] || exit 0
# The create off the window's thread, its cancel, a resume, two command lines at once and the
# coalesced regeneration with host and node compiled at once.
TSAN_TESTS=(tst_createsolution tst_createrun tst_resume tst_cli)
export TSAN_OPTIONS="suppressions=$SUPPRESSIONS/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
kestrune_sanitizer_run thread "${KESTRUNE_BUILD}-tsan" "${TSAN_TESTS[@]}"
