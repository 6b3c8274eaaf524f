#!/usr/bin/env bash
# Shows quirnctl reading the router's status: builds it if needed, then interprets the saved
# status page exactly as a fetch would and prints the result as JSON.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -x build/cli/quirnctl ]; then
    echo "== building quirnctl" >&2
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$(nproc)" --target quirnctl >/dev/null
fi

echo "== quirnctl parse tests/fixtures/status_page.html --json" >&2
status=0
build/cli/quirnctl parse tests/fixtures/status_page.html --json || status=$?
echo "== exit status $status (0: the page was read and accepted)" >&2
exit "$status"
