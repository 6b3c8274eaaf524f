#!/usr/bin/env bash
# The Windows program's running cost under Wine: how often it wakes and how much CPU it takes
# while it sits polling (per second, and per idle hour), its executable's size, and its private
# memory after its first poll and after 100 polls. Runs as root: quirn-sim answers on port 80
# inside a private network and mount namespace whose own hosts file points the router's name at
# loopback, as in tools/demo.sh, so nothing beyond this machine is asked.
# Usage: bench/windows_idle.sh WIN_BUILD_DIR NATIVE_BUILD_DIR [IDLE_SECONDS]
#   WIN_BUILD_DIR     a mingw-w64 build holding platform/win32/app/QuirnMobileTool.exe
#   NATIVE_BUILD_DIR  a native build holding sim/quirn-sim
set -euo pipefail
. "$(dirname "$0")/../tools/lib.sh"
cd "$QUIRN_ROOT"

win_build=$(realpath "$1")
native_build=$(realpath "$2")
idle_seconds=${3:-60}
exe=$win_build/platform/win32/app/QuirnMobileTool.exe

quirn_in_namespace || quirn_rerun_in_namespace "$@"

quirn_namespace_setup
quirn_start_sim "$native_build/sim/quirn-sim"
quirn_start_xvfb 140 1280x1024 "$work/xvfb.log" >/dev/null

quirn_wine_env "$win_build/wine-idle"
install_dir=$WINEPREFIX/drive_c/quirn

polls() {
    grep -c '^GET /mobile/mobile.cgi/info_remote_main ' "$work/requests.log" 2>/dev/null || true
}

# The program's own process: the Wine process of this prefix whose command line is the
# executable's Windows path (explorer, which started it, names it only as an argument).
program_pid() {
    local pid
    for pid in $(pgrep -f 'QuirnMobileTool.exe' || true); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
            tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1 |
            grep -qx 'C:\\quirn\\QuirnMobileTool.exe'; then
            echo "$pid"
            return
        fi
    done
}

wineserver_pid() {
    local pid
    for pid in $(pgrep wineserver || true); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return
        fi
    done
}

# Voluntary context switches of all of a process's threads: each is a wait that ended, that is
# one wake-up (preemptions by other work on the machine are not counted).
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches/ { total += $2 } END { print total + 0 }'
}

# CPU time of a process in clock ticks (user + system).
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# Open descriptors, the least of a few looks over three seconds, so that a poll's socket that
# happens to be open at one look is not counted.
descriptors() {
    local least=999999 count
    for _ in $(seq 10); do
        count=$(find /proc/"$1"/fd -mindepth 1 -maxdepth 1 | wc -l)
        [ "$count" -lt "$least" ] && least=$count
        sleep 0.3
    done
    echo "$least"
}

private_kib() {
    awk '/^Private_(Clean|Dirty):/ { total += $2 } END { print total }' "/proc/$1/smaps_rollup"
}

# Starts the program with `reload_cycle` (ms) in its profile and waits for its first poll.
start_program() {
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    quirn_wine_env "$win_build/wine-idle"
    mkdir -p "$install_dir"
    cp "$exe" "$install_dir/"
    printf '[application_info]\r\nreload_cycle=%s\r\n' "$1" >"$install_dir/QuirnMobileTool.INI"
    : >"$work/requests.log"
    (cd "$install_dir" && exec env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" explorer \
        /desktop=quirn,1024x768 'C:\quirn\QuirnMobileTool.exe') >"$work/wine.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 600); do
        [ "$(polls)" -ge 1 ] && [ -n "$(program_pid)" ] && return 0
        sleep 0.1
    done
    echo "the program made no status poll within a minute" >&2
    cat "$work/wine.log" >&2
    return 1
}

echo "executable: $(stat -c %s "$exe") bytes as built;" \
    "$(x86_64-w64-mingw32-strip -o "$work/stripped.exe" "$exe" && stat -c %s "$work/stripped.exe")" \
    "bytes stripped of its debugging information"

echo "-- at rest with the default poll every 20 s, over ${idle_seconds} s"
start_program 20000
sleep 10  # start-up done, the window laid out (its 10 ms timer stopped)
pid=$(program_pid)
server=$(wineserver_pid)
echo "measured: process $pid ($(tr '\0' ' ' <"/proc/$pid/cmdline")), wineserver $server"
s0=$(switches "$pid")
c0=$(cpu_ticks "$pid")
w0=$(cpu_ticks "$server")
p0=$(polls)
sleep "$idle_seconds"
s1=$(switches "$pid")
c1=$(cpu_ticks "$pid")
w1=$(cpu_ticks "$server")
p1=$(polls)
ticks=$(getconf CLK_TCK)
awk -v s="$((s1 - s0))" -v c="$((c1 - c0))" -v w="$((w1 - w0))" -v t="$ticks" \
    -v n="$idle_seconds" -v p="$((p1 - p0))" 'BEGIN {
    printf "wake-ups: %.1f a second (voluntary context switches of the program'"'"'s threads)\n", s / n
    printf "CPU: %.2f s in %d s, %.0f s an hour; wineserver on its behalf: %.0f s an hour\n",
        c / t, n, c / t * 3600 / n, w / t * 3600 / n
    printf "polls in that time: %d\n", p
}'
echo "private memory after the first poll: $(private_kib "$pid") KiB"

echo "-- 100 polls (poll every second in the profile: one poll about every 2 s)"
start_program 1000
pid=$(program_pid)
sleep 3
first=$(private_kib "$pid")
fds_first=$(descriptors "$pid")
c0=$(cpu_ticks "$pid")
p0=$(polls)
for _ in $(seq 400); do
    [ "$(polls)" -ge 101 ] && break
    sleep 1
done
sleep 1
c1=$(cpu_ticks "$pid")
p1=$(polls)
awk -v c="$((c1 - c0))" -v p="$((p1 - p0))" -v t="$(getconf CLK_TCK)" 'BEGIN {
    printf "CPU of the program while polling: %.1f ms a poll (%d polls)\n", c / t * 1000 / p, p }'
echo "private memory: ${first} KiB after the first poll, $(private_kib "$pid") KiB after" \
    "$(polls) polls; open descriptors: ${fds_first}, then" \
    "$(descriptors "$pid")"
