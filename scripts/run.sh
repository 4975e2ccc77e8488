#!/usr/bin/env bash
# Installs what is missing, builds, lays out a demo workspace and starts the window on it. Without a
# display it drives the window through a scripted walk-through instead and prints what it produced.
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$KESTRUNE_ROOT/scripts/setup.sh"

kestrune_install_packages
kestrune_build

# The demo workspace: stand-in installations, sample sources, and a settings file that the window
# finds as "../ini/settings.json" from its working folder.
demo="$KESTRUNE_BUILD/demo-workspace"
rm -rf "$demo"
mkdir -p "$demo/ini" "$demo/work" "$demo/project"
cmake -DDESTINATION="$demo/installations" \
      -DDEVENV="$KESTRUNE_BUILD/standins/installations/devenv" \
      -P "$KESTRUNE_ROOT/standins/installations/layout.cmake"
cp -r "$KESTRUNE_ROOT/demo/samples" "$demo/samples"
cat > "$demo/ini/settings.json" <<JSON
{
    "pathEdem": "$demo/installations/DEM Solutions/EDEM 2018",
    "pathFluent": "$demo/installations/ANSYS Inc/v192/fluent",
    "pathVs": "$demo/installations/Microsoft Visual Studio/2019/Community"
}
JSON
export PATH="$KESTRUNE_BUILD/standins/bin:$PATH"
cd "$demo/work"

if [ -n "${DISPLAY:-}" ]; then
    echo "Demo workspace: $demo (press 添加 and pick the files of $demo/samples)"
    exec "$KESTRUNE_BUILD/app/kestrune"
fi

echo "No display: driving the window through a scripted walk-through (its log: $demo/walkthrough.log)."
status=0
QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= "$KESTRUNE_BUILD/demo/kestrune_walkthrough" \
    "$demo/samples" "$demo/project" "$demo/window.png" 2> "$demo/walkthrough.log" || status=$?
root="$demo/project/buildByVarnholt"
echo
echo "== Build tree =="
(cd "$root" 2>/dev/null && find . -path ./solution -prune -o -print | sort; \
 echo "./solution/: $(ls solution 2>/dev/null | tr '\n' ' ')")
for obj in "$root"/*/udf_names.obj; do
    [ -f "$obj" ] || continue
    echo
    echo "== ${obj#"$root"/} =="
    symbols=$(llvm-nm-14 "$obj" 2>/dev/null || /usr/lib/llvm-14/bin/llvm-nm "$obj")
    echo "exports:         $(awk '$2 == "D" || $2 == "T" { printf "%s ", $3 }' <<< "$symbols")"
    echo "table functions: $(awk '$1 == "U" { printf "%s ", $2 }' <<< "$symbols")"
done
echo
echo "== Projects left in FLUENTUDF.sln =="
grep '^Project' "$root/solution/FLUENTUDF.sln" 2>/dev/null || { echo "(no solution)"; exit 1; }

# Build the solution as Visual Studio would, then load each libudf.dll as Fluent does.
inst="$demo/installations"
echo
echo "== devenv FLUENTUDF.sln /Build \"Debug|x64\" =="
# The cleaned projects still name the removed ZERO_CHECK project; Visual Studio only warns of it.
"$inst/Microsoft Visual Studio/2019/Community/Common7/IDE/devenv.exe" \
    "$root/solution/FLUENTUDF.sln" /Build "Debug|x64" > "$demo/devenv.out" || status=$?
grep -v "warning MSB9008" "$demo/devenv.out" || true
windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }
for library in "$root"/solution/Debug/libudf/win64/*/libudf.dll; do
    [ -f "$library" ] || continue
    echo
    echo "== Function table of ${library#"$root"/}, loaded as Fluent does (Wine) =="
    WINEPREFIX="$KESTRUNE_BUILD/wine-prefix" WINEDEBUG=-all LC_ALL=C.UTF-8 \
    WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" \
    WINEPATH="$(windows_path "$inst/ANSYS Inc/v192/fluent/ntbin/win64")" \
        /usr/lib/wine/wine64 "$KESTRUNE_BUILD/standins/loader/udfloader.exe" \
        "$(windows_path "$library")" || status=$?
done
exit $status
