#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev python3)
# The benchmarks are built with the rest (tools/bench.sh runs them): Google Benchmark, and libxml2
# as the baseline they are compared with. The product links neither.
packages+=(libbenchmark-dev libxml2-dev)
# The Windows build: the mingw-w64 cross compiler, GoogleTest's sources to build for it, and the
# 64-bit Wine that runs its tests.
packages+=(g++-mingw-w64-x86-64 googletest wine64)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
echo "== native build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
echo "== native tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Windows build"
cmake -S . -B build-win -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
cmake --build build-win -j "$jobs"
echo "== Windows tests under Wine"
# The build's own Wine prefix, made on the first run (wineboot, about ten seconds).
source tools/wine-env.sh build-win/wine
"$QUIRN_WINE" --version
status=0
ctest --test-dir build-win --output-on-failure -j "$jobs" || status=$?
"$QUIRN_WINESERVER" -k 2>/dev/null || true  # ends the Wine session of the run
bash tools/test-sanitizers.sh || status=$?  # ASan+UBSan suite, TSan threaded tests, bounded fuzzing
bash tools/package.sh build-win || status=$?  # the installer and the zip, in build-win
bash tools/test-e2e.sh || status=$?  # the window under Wine; screenshots in build-win/e2e-artifacts
exit "$status"
