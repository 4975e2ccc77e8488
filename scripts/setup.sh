# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run; expects KESTRUNE_ROOT to be the repository folder.

KESTRUNE_BUILD="${KESTRUNE_BUILD:-$KESTRUNE_ROOT/build}"

# Debian packages: the build (Qt 6 without recommends, which would pull in a native file dialog),
# the MSVC-compatible compiler and linker the stand-ins drive, a CJK font for the Chinese texts,
# an X server for showing the window without a display, Wine for loading the built UDF
# libraries as Fluent would and for running its cmd.exe beside the stand-in, and the locales
# that give Wine a Chinese Windows' console code page.
KESTRUNE_PACKAGES=(
    cmake ninja-build g++ qt6-base-dev
    clang-14 clang-tools-14 lld-14 llvm-14
    fonts-wqy-microhei xvfb xauth imagemagick
    wine64 locales
)

kestrune_install_packages() {
    local missing=()
    for package in "${KESTRUNE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" \
            || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing missing packages: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
    kestrune_generate_locale
}

# Wine's cmd.exe reads batch files in code page 936, as a Chinese Windows does, under zh_CN.UTF-8.
kestrune_generate_locale() {
    locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8' && return 0
    echo "Generating the locale zh_CN.UTF-8"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null \
        || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
}

kestrune_build() {
    cmake -S "$KESTRUNE_ROOT" -B "$KESTRUNE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "$@" >/dev/null
    cmake --build "$KESTRUNE_BUILD" --parallel "$(nproc)"
}

# A build with sanitizers beside the main one, of the given tests only, run against the main
# build's stand-ins: kestrune_sanitizer_run <sanitizers> <folder> <test>...
kestrune_sanitizer_run() {
    local sanitizers="$1" folder="$2"
    shift 2
    echo "== $* under $sanitizers"
    # Without optimisation or debug information, a target's sources compiled as one: what the
    # sanitizers need, built in the least time.
    cmake -S "$KESTRUNE_ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O0 \
        -DCMAKE_UNITY_BUILD=ON -DKESTRUNE_BUILD_TESTS=ON "-DKESTRUNE_SANITIZE=$sanitizers" \
        "-DKESTRUNE_STANDINS_FROM=$KESTRUNE_BUILD" >/dev/null
    cmake --build "$folder" --parallel "$(nproc)" --target "$@"
    local names
    names="$(IFS='|'; echo "$*")"
    (cd "$folder" && ctest --output-on-failure --parallel "$(nproc)" -R "^($names)\$")
}
