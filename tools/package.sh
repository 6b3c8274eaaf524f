#!/usr/bin/env bash
# Builds the release artefacts from a Windows build directory (default build-win):
#   BUILD/QuirnMobileToolSetup-VERSION.exe  the installer (NSIS), with its uninstaller
#   BUILD/QuirnMobileTool-VERSION.zip       the program and its readme, for use without installer
# The version is the CMake project's, which res/CMakeLists.txt holds equal to res/version.h.
# Usage: tools/package.sh [BUILD]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"
build=${1:-build-win}

quirn_need windows nsis python3
quirn_build windows "$build" QuirnMobileTool >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "package.sh: no project version in $build/CMakeCache.txt" >&2
    exit 1
fi
exe=$build/platform/win32/app/QuirnMobileTool.exe
setup=$build/QuirnMobileToolSetup-$version.exe
zip=$build/QuirnMobileTool-$version.zip

echo "== installer $setup"
# Written beside and then renamed, so that a failed run leaves no half-made artefact behind.
makensis -V2 -NOCD "-DVERSION=$version" "-DPROGRAM=$exe" "-DREADME=installer/readme.txt" \
    "-DOUTFILE=$setup.part" installer/quirn.nsi
mv -f "$setup.part" "$setup"

echo "== zip $zip"
python3 - "$zip" "$version" "$exe" installer/readme.txt <<'PY'
import os, sys, zipfile
out, version, exe, readme = sys.argv[1:]
folder = f"QuirnMobileTool-{version}/"
with zipfile.ZipFile(out + ".part", "w", zipfile.ZIP_DEFLATED) as z:
    z.write(exe, folder + "QuirnMobileTool.exe")
    # Windows readers expect CRLF in a text file.
    with open(readme, encoding="utf-8") as f:
        z.writestr(folder + "readme.txt", f.read().replace("\n", "\r\n"))
os.replace(out + ".part", out)
PY
