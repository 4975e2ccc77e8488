# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run; expects KESTRUNE_ROOT to be the repository folder.

KESTRUNE_BUILD="${KESTRUNE_BUILD:-$KESTRUNE_ROOT/build}"

# Debian packages: the build (Qt 6 without recommends, which would pull in a native file dialog),
# the MSVC-compatible compiler and linker the stand-ins drive, a CJK font for the Chinese texts,
# an X server for showing the window without a display, and Wine for loading the built UDF
# libraries as Fluent would.
KESTRUNE_PACKAGES=(
    cmake ninja-build g++ qt6-base-dev
    clang-14 clang-tools-14 lld-14 llvm-14
    fonts-wqy-microhei xvfb xauth imagemagick
    wine64
)

kestrune_install_packages() {
    local missing=()
    for package in "${KESTRUNE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

kestrune_build() {
    cmake -S "$KESTRUNE_ROOT" -B "$KESTRUNE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "$@" >/dev/null
    cmake --build "$KESTRUNE_BUILD" --parallel "$(nproc)"
}
