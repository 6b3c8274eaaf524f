#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev python3)
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
