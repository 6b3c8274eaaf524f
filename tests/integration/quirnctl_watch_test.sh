#!/usr/bin/env bash
# quirnctl watch as shipped (port 80, whole-second intervals) against quirn-sim inside a private
# network namespace: one line per poll, a failed poll printed and survived, --changes, and
# Ctrl-C or SIGTERM ending it at once, also while a poll waits for a router that never answers.
# Skipped (77) where no such namespace can be made.
# Usage: quirnctl_watch_test.sh QUIRNCTL QUIRN_SIM
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -eu
. "$(dirname "$0")/../../tools/lib.sh"
quirnctl=$1
sim=$2

quirn_test_in_namespace "$@"

quirn_namespace_setup
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
start_sim() {
    quirn_start_sim "$sim" "$@" || exit 1
}

# watch EXPECTED_EXIT EXPECTED_LINES ARGS...: runs quirnctl watch to its end.
watch() {
    expected_exit=$1 expected_lines=$2
    shift 2
    set +e
    "$quirnctl" watch --router 127.0.0.1 --interval 1 "$@" >"$work/out" 2>"$work/err"
    actual=$?
    set -e
    lines=$(wc -l <"$work/out")
    if [ "$actual" != "$expected_exit" ] || [ "$lines" != "$expected_lines" ]; then
        fail "watch $* exited $actual with $lines lines, expected $expected_exit with $expected_lines"
        cat "$work/out" "$work/err"
    fi
}
line() { sed -n "$1p" "$work/out"; }

start_sim
started=$(date +%s%N)
watch 0 3 --count 3
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
# Polls at 0, 1 and 2 s: about two seconds, not three, and not at once.
[ "$elapsed_ms" -ge 1900 ] && [ "$elapsed_ms" -lt 3500 ] ||
    fail "three polls a second apart took ${elapsed_ms} ms"
line 1 | grep -Eq '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} battery 80% ' ||
    fail "a text line starts with the time and the battery: $(line 1)"
watch 0 2 --count 2 --json
python3 -c 'import json, sys
for line in open(sys.argv[1]):
    assert json.loads(line)["status"]["battery_percent"] == 80' "$work/out" ||
    fail "every --json line is one JSON object"
watch 0 3 --count 3 --format '{result} {battery_percent}%'
[ "$(sort -u "$work/out")" = "0 80%" ] || fail "the template on every line: $(cat "$work/out")"

# The first two polls fail: printed, the watch goes on, and ends with the last poll's result.
start_sim --fault no-token,times=2
watch 0 4 --count 4
line 1 | grep -q ' result 5: ' || fail "a failed poll prints its result: $(line 1)"
line 3 | grep -q ' battery 80% ' || fail "the watch goes on after failed polls: $(line 3)"
start_sim --fault no-token,times=2
watch 0 2 --count 4 --changes
start_sim --fault no-token
watch 5 1 --count 2 --changes

# stop SIGNAL EXPECTED_EXIT WITHIN_MS OUTPUT ARGS...: starts a watch writing to OUTPUT, sends
# SIGNAL once the router has its first request, and expects the watch gone within WITHIN_MS.
stop() {
    signal=$1 expected_exit=$2 within_ms=$3 output=$4
    shift 4
    label=$(printf '%.40s' "watch $*")
    : >"$work/requests.log"
    # Job control gives the watch the default Ctrl-C, as a terminal would; without it a
    # script's background job ignores SIGINT.
    set -m
    "$quirnctl" watch --router 127.0.0.1 "$@" >"$output" 2>"$work/err" &
    watcher=$!
    set +m
    for _ in $(seq 100); do
        grep -q "^--- request" "$work/requests.log" && break
        sleep 0.05
    done
    sleep 0.3  # well into the poll, or into the wait after it
    sent=$(date +%s%N)
    kill "-$signal" "$watcher"
    set +e
    for _ in $(seq $((within_ms / 50))); do
        kill -0 "$watcher" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$watcher" 2>/dev/null; then
        fail "$label still runs ${within_ms} ms after SIG$signal"
        kill -KILL "$watcher"
    fi
    wait "$watcher"
    actual=$?
    set -e
    elapsed_ms=$((($(date +%s%N) - sent) / 1000000))
    [ "$actual" = "$expected_exit" ] ||
        fail "$label ended by SIG$signal exited $actual, expected $expected_exit"
    echo "SIG$signal ended $label after ${elapsed_ms} ms"
}

# A router that reads the request and never answers: the poll would wait 60 s for it.
start_sim --fault silence
for signal in INT:130 TERM:143 HUP:129; do
    stop "${signal%:*}" "${signal#*:}" 1000 "$work/out"
    [ ! -s "$work/out" ] || fail "a poll cut short by SIG${signal%:*} printed: $(cat "$work/out")"
done
# Between polls: the first line stays whole and the wait is cut short.
start_sim
stop INT 130 1000 "$work/out" --interval 3600
stop TERM 143 1000 "$work/out" --interval 3600 --json
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$work/out" ||
    fail "the line before SIGTERM is whole: $(cat "$work/out")"

# A reader that stopped reading: a line of 100 kB does not fit the pipe and its write blocks; a
# stop still ends the watch, a second after it at the most.
mkfifo "$work/stalled"
exec 3<>"$work/stalled"  # held open, never read
stop TERM 143 2000 "$work/stalled" --format "$(printf '%0100000d' 0){result}"
exec 3<&-

# A Ctrl-C that the starting shell ignores (a background job) stays ignored.
"$quirnctl" watch --router 127.0.0.1 --interval 3600 >"$work/out" 2>&1 &
watcher=$!
sleep 0.5
kill -INT "$watcher"
sleep 0.3
kill -0 "$watcher" 2>/dev/null || fail "an ignored Ctrl-C ended the watch"
kill -TERM "$watcher" 2>/dev/null || true
wait "$watcher" || true

# The pipe's reader has gone (head has its line): the watch ends without polling again,
# although --changes has nothing new to write.
: >"$work/requests.log"
started=$(date +%s%N)
timeout 5 "$quirnctl" watch --router 127.0.0.1 --interval 2 --changes 2>/dev/null | head -n 1 >"$work/out"
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
requests=$(grep -c "^--- request" "$work/requests.log")
[ "$elapsed_ms" -lt 1500 ] && [ "$requests" = 1 ] ||
    fail "with its reader gone the watch went on: ${elapsed_ms} ms, $requests requests"

[ "$failures" = 0 ] || exit 1
echo "all quirnctl watch checks passed"
