#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds everything and runs every test.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"

# The benchmarks are built with the rest; tools/bench.sh runs them.
quirn_need native benchmarks windows

echo "== native build"
quirn_build native build
echo "== native tests"
quirn_ctest build
status=0
# The .deb of quirnctl and quirn-sim: lintian, and as root installed, tried and removed.
bash tools/test-package-deb.sh build || status=$?

echo "== Windows build"
quirn_build windows build-win
echo "== Windows tests under Wine"
# The build's own Wine prefix, made on the first run (wineboot, about ten seconds).
quirn_wine_env build-win/wine
"$QUIRN_WINE" --version
quirn_ctest build-win || status=$?
"$QUIRN_WINESERVER" -k 2>/dev/null || true  # ends the Wine session of the run
bash tools/test-sanitizers.sh || status=$?  # ASan+UBSan suite, TSan threaded tests, bounded fuzzing
bash tools/package.sh build-win || status=$?  # the installer and the zip, in build-win
bash tools/test-e2e.sh || status=$?  # the window under Wine; screenshots in build-win/e2e-artifacts
exit "$status"
