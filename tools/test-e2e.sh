#!/usr/bin/env bash
# End-to-end tests of the Windows program: builds QuirnMobileTool.exe and quirnctl.exe (the cross
# build in build-win, or QUIRN_E2E_BUILD), then runs tests/e2e under Wine on a private X display
# (Xvfb), inside a private network and mount namespace whose own hosts file points the router's
# and the maker's host names at loopback. Screenshots are kept in BUILD/e2e-artifacts.
# Usage: tools/test-e2e.sh [tests/e2e/run.py options, e.g. -k panel or --update-docs]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"
build=${QUIRN_E2E_BUILD:-build-win}

if ! quirn_in_namespace; then
    # nsis: the install test makes the installer, inside the namespace where nothing can be
    # fetched. libfaketime: a test moves the program's wall clock on instead of waiting.
    # python3-xlib: the frame tests read the pointer's shape from the X server.
    quirn_need windows window namespace python3-pil python3-xlib nsis libfaketime
    echo "== Windows program for the end-to-end tests ($build)"
    quirn_build windows "$build" QuirnMobileTool quirnctl win_probe >/dev/null
    # The live and install tests' router; a native build that has it is used as it is.
    if [ ! -x build/sim/quirn-sim ]; then
        echo "== quirn-sim for the end-to-end tests (build)"
        quirn_build native-programs build quirn-sim >/dev/null
    fi
    echo "== end-to-end tests under Wine"
    quirn_rerun_in_namespace "$@"
fi

quirn_namespace_setup
artifacts=$build/e2e-artifacts
# The runner ends what it starts; should it die, its Windows programs, their wineserver and the
# display must not outlive it.
end_leftovers() {
    # The namespace's clean-up then ends the prefix's Wine session.
    if [ -d "$build/e2e-wine" ] && quirn_wine_tools; then
        WINEPREFIX=$(cd "$build/e2e-wine" && pwd)
        export WINEPREFIX WINESERVER=$QUIRN_WINESERVER
    fi
    if [ -f "$artifacts/xvfb.pid" ]; then
        kill "$(cat "$artifacts/xvfb.pid")" 2>/dev/null || true
        rm -f "$artifacts/xvfb.pid"
    fi
}
at_exit+=(end_leftovers)

/usr/bin/python3 tests/e2e/run.py --build "$build" --artifacts "$artifacts" "$@"
