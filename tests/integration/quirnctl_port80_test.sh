#!/usr/bin/env bash
# quirnctl exactly as shipped (port 80, the router's own host name, full time-outs) against
# quirn-sim, inside a private network and mount namespace whose hosts file points the router's
# and the maker's names at loopback. Skipped (77) where no such namespace can be made.
# Usage: quirnctl_port80_test.sh QUIRNCTL QUIRN_SIM
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -eu
. "$(dirname "$0")/../../tools/lib.sh"
quirnctl=$1
sim=$2

quirn_test_in_namespace "$@"

# The router's name also has an IPv6 address, listed first: the IPv4 one must be used.
quirn_namespace_setup '::1 quirn.home.arpa'
start_sim() {
    quirn_start_sim "$sim" --reboot-down-ms 300 "$@" || exit 1
}

failures=0
# expect EXIT_STATUS [STDIN_TEXT] -- ARGS...: runs quirnctl and compares its exit status.
expect() {
    expected=$1
    shift
    input=
    if [ "$1" != -- ]; then
        input=$1
        shift
    fi
    shift
    set +e
    printf '%s\n' "$input" | "$quirnctl" "$@" >"$work/out" 2>"$work/err"
    actual=$?
    set -e
    if [ "$actual" != "$expected" ]; then
        echo "FAIL: quirnctl $* exited $actual, expected $expected"
        cat "$work/out" "$work/err"
        failures=$((failures + 1))
    fi
    # No password ever shows, neither in the result nor in the diagnostics.
    if grep -q -e quirn-admin -e wrong-secret "$work/out" "$work/err"; then
        echo "FAIL: quirnctl $* printed a password"
        failures=$((failures + 1))
    fi
}

start_sim
expect 0 -- status --router 127.0.0.1
expect 0 -- status --json
expect 0 -- check
expect 0 quirn-admin -- switch wlan --password-file -
expect 4 wrong-secret -- reboot --password-file -
expect 0 quirn-admin -- standby --password-file -
expect 1 -- status --router 127.0.0.1  # asleep: the router refuses connections

start_sim --scenario no-admin-pages
expect 0 quirn-admin -- switch lte3g --password-file -
grep -q "POST /mobile/mobile.cgi/info_remote_main_lte3g" "$work/requests.log" ||
    { echo "FAIL: no fall-back to the status-page account"; failures=$((failures + 1)); }

start_sim --scenario initial-password
expect 4 -- status
expect 0 quirn-admin -- set-password --password-file -
expect 0 -- status

start_sim --scenario unauthorized
expect 4 -- status --router 127.0.0.1
start_sim --scenario redirect
expect 6 -- check
start_sim --scenario no-token
expect 5 -- status
quirn_stop_sim
expect 1 -- status
expect 64 -- switch sideways

[ "$failures" = 0 ] || exit 1
echo "all quirnctl checks passed"
