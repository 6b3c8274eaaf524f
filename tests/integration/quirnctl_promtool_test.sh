#!/bin/sh
# quirnctl's Prometheus output as promtool reads it: a good page and pages that fail must give
# metrics that promtool accepts without a single lint remark.
#   quirnctl_promtool_test.sh QUIRNCTL FIXTURE_DIR      exit 77 (skipped) without promtool
# promtool is the one on PATH, or the one tools/lib.sh unpacked into build-tools/.
set -u
quirnctl=$1
fixtures=$2
promtool=$(command -v promtool) ||
    promtool=$(dirname "$0")/../../build-tools/prometheus/usr/bin/promtool
if [ ! -x "$promtool" ]; then
    echo "promtool not found (Debian package prometheus, see tools/lib.sh): skipped"
    exit 77
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
for case in status_page.html:0:"quirn_up 1" garbage.bin:5:"quirn_up 0" \
    initial_password_page.html:4:"quirn_up 0"; do
    page=${case%%:*}
    rest=${case#*:}
    expected_exit=${rest%%:*}
    expected_line=${rest#*:}
    "$quirnctl" parse "$fixtures/$page" --format prometheus >"$out" 2>/dev/null
    exit_status=$?
    if [ "$exit_status" != "$expected_exit" ]; then
        echo "FAIL $page: exit status $exit_status, expected $expected_exit"
        status=1
    fi
    if ! grep -qx "$expected_line" "$out"; then
        echo "FAIL $page: no line \"$expected_line\""
        status=1
    fi
    if ! "$promtool" check metrics <"$out"; then
        echo "FAIL $page: promtool check metrics refused:"
        cat "$out"
        status=1
    fi
done
[ "$status" = 0 ] && echo "promtool accepted every output"
exit "$status"
