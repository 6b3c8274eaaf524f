# Sourced by scripts that have re-run themselves in a private network and mount namespace
# (unshare -n -m): brings loopback up and points the router's and the maker's host names at it
# through a hosts file of our own, so nothing beyond this machine is asked.
# Sets `work`, a temporary folder, and `pids`, where the caller adds its background processes.
# At exit the Wine session named by $WINESERVER (if any) ends, then those processes, and `work`
# is removed.
ip link set lo up
work=$(mktemp -d)
printf '127.0.0.1 localhost quirn.home.arpa www.vandrel.example\n' >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts

pids=()
end_namespace_work() {
    if [ -n "${WINESERVER:-}" ]; then
        "$WINESERVER" -k 2>/dev/null || true
        "$WINESERVER" -w 2>/dev/null || true
    fi
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap end_namespace_work EXIT
