#!/bin/sh
# quirnctl exactly as shipped (port 80, the router's own host name, full time-outs) against
# quirn-sim, inside a private network and mount namespace whose hosts file points the router's
# and the maker's names at loopback. Skipped (77) where user namespaces are not available.
# Usage: quirnctl_port80_test.sh QUIRNCTL QUIRN_SIM
set -eu
quirnctl=$1
sim=$2

if [ "${QUIRN_PORT80_NAMESPACE:-}" != 1 ]; then
    if ! unshare -r -n -m true 2>/dev/null; then
        echo "user namespaces are not available: skipped"
        exit 77
    fi
    QUIRN_PORT80_NAMESPACE=1 exec unshare -r -n -m sh "$0" "$@"
fi

# Inside the namespace: only loopback exists, and the hosts file is our own.
ip link set lo up
work=$(mktemp -d)
# The router's name also has an IPv6 address, listed first: the IPv4 one must be used.
printf '::1 quirn.home.arpa\n127.0.0.1 localhost quirn.home.arpa www.vandrel.example\n' \
    >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts
sim_pid=

start_sim() {
    stop_sim
    "$sim" --listen 127.0.0.1:80 --reboot-down-ms 300 --log "$work/requests.log" "$@" \
        >"$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 50); do
        grep -q listening "$work/sim.out" && return 0
        sleep 0.1
    done
    echo "quirn-sim did not start"; cat "$work/sim.out"; exit 1
}

stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}
trap 'stop_sim; rm -rf "$work"' EXIT

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
stop_sim
expect 1 -- status
expect 64 -- switch sideways

[ "$failures" = 0 ] || exit 1
echo "all quirnctl checks passed"
