#!/usr/bin/env bash
# The main job: quirnctl reads the router's status and checks the Internet through it, exactly
# as shipped (port 80, the router's own host name, full time-outs). The router is quirn-sim,
# started inside a private network and mount namespace whose own hosts file points the router's
# and the maker's names at loopback, so nothing on this machine or beyond it is touched.
# Usage: tools/demo.sh [quirn-sim options, e.g. --scenario charging]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${QUIRN_DEMO_NAMESPACE:-}" != 1 ]; then
    bash tools/ensure-packages.sh cmake g++ make python3 iproute2
    if [ ! -x build/cli/quirnctl ] || [ ! -x build/sim/quirn-sim ]; then
        echo "== building quirnctl and quirn-sim" >&2
        cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
        cmake --build build -j "$(nproc)" --target quirnctl quirn-sim >/dev/null
    fi
    QUIRN_DEMO_NAMESPACE=1 exec unshare -n -m bash "$0" "$@"
fi

# Inside the namespace: only loopback exists, and the hosts file is our own.
ip link set lo up
work=$(mktemp -d)
printf '127.0.0.1 localhost quirn.home.arpa www.vandrel.example\n' >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts

build/sim/quirn-sim --listen 127.0.0.1:80 --log "$work/requests.log" "$@" >"$work/sim.out" 2>&1 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do
    grep -q listening "$work/sim.out" && break
    sleep 0.1
done

status=0
echo "== quirnctl status --json   (router: quirn-sim as quirn.home.arpa, port 80)" >&2
build/cli/quirnctl status --json || status=$?
echo "== quirnctl check           (maker's host: quirn-sim as www.vandrel.example)" >&2
build/cli/quirnctl check || status=$?
echo "== exit status $status (0: both succeeded)" >&2
exit "$status"
