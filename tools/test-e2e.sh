#!/usr/bin/env bash
# End-to-end tests of the Windows program: builds QuirnMobileTool.exe and quirnctl.exe (the cross
# build in build-win, or QUIRN_E2E_BUILD), then runs tests/e2e under Wine on a private X display
# (Xvfb), inside a private network and mount namespace whose own hosts file points the router's
# and the maker's host names at loopback. Screenshots are kept in BUILD/e2e-artifacts.
# Usage: tools/test-e2e.sh [tests/e2e/run.py options, e.g. -k panel or --update-docs]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUIRN_E2E_BUILD:-build-win}

if [ "${QUIRN_E2E_NAMESPACE:-}" != 1 ]; then
    bash tools/ensure-packages.sh cmake make g++-mingw-w64-x86-64 wine64 fonts-wine \
        fonts-ipafont-gothic xvfb xdotool x11-utils python3-pil iproute2
    echo "== Windows program for the end-to-end tests ($build)"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
    fi
    cmake --build "$build" -j "$(nproc)" --target QuirnMobileTool quirnctl >/dev/null
    echo "== end-to-end tests under Wine"
    QUIRN_E2E_NAMESPACE=1 exec unshare -n -m bash "$PWD/tools/test-e2e.sh" "$@"
fi

# Inside the namespace: only loopback exists, and the hosts file is our own.
ip link set lo up
work=$(mktemp -d)
printf '127.0.0.1 localhost quirn.home.arpa www.vandrel.example\n' >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts

artifacts=$build/e2e-artifacts
# The runner ends what it starts; should it die, its Windows programs, their wineserver and the
# display must not outlive it.
end_leftovers() {
    local loader wineserver
    loader=$(command -v wine64 || echo /usr/lib/wine/wine64)
    wineserver=$(dirname "$loader")/wineserver
    [ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)
    if [ -n "$wineserver" ] && [ -d "$build/e2e-wine" ]; then
        WINEPREFIX=$(cd "$build/e2e-wine" && pwd) "$wineserver" -k 2>/dev/null || true
    fi
    if [ -f "$artifacts/xvfb.pid" ]; then
        kill "$(cat "$artifacts/xvfb.pid")" 2>/dev/null || true
        rm -f "$artifacts/xvfb.pid"
    fi
    rm -rf "$work"
}
trap end_leftovers EXIT

/usr/bin/python3 tests/e2e/run.py --build "$build" --artifacts "$artifacts" "$@"
