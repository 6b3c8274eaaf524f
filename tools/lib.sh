# shellcheck shell=bash
# What the build, test and demo scripts share, sourced by bash before anything else:
#   . "$(dirname "$0")/lib.sh"     (then: cd "$QUIRN_ROOT")
# Packages, builds by their preset, the router's private network namespace and its simulator,
# a private X display, and Wine prefixes. Safe under `set -euo pipefail` and without it.

QUIRN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The script that sourced this, by an absolute path: it re-runs itself inside the namespace.
quirn_script=$(realpath "$0" 2>/dev/null || echo "$0")
# At most two jobs: the machine's cores are shared.
QUIRN_JOBS=${QUIRN_JOBS:-2}

# --- packages ---

# Installs the Debian packages of the named sets that are not installed yet.
#   native      the native build and its tests: promtool, which checks quirnctl's metrics (see
#               quirn_promtool); man-db (with groff) and bash-completion for the tests of the
#               manual pages and the completion
#   benchmarks  what the benchmarks link (Google Benchmark; libxml2 as their baseline), built with
#               the rest; the product links neither
#   windows     the mingw-w64 cross build, GoogleTest's sources to build for it, 64-bit Wine
#   namespace   the router's private network namespace
#   window      the Windows program on an X display: Xvfb, xdotool, xwininfo, Wine's own fonts
#               and the Japanese ones the program's texts need
#   sanitizers  clang's libFuzzer and sanitizer runtimes
#   debian-package  the .deb and its test: dpkg-shlibdeps (dpkg-dev) and file for CPack's
#               Depends, lintian, man-db and bash-completion to try what it installs
# Any other word is taken as a package name.
quirn_need() {
    local word wanted=() missing=() p
    for word in "$@"; do
        case $word in
            native) wanted+=(cmake g++ make libgtest-dev python3 man-db bash-completion) ;;
            benchmarks) wanted+=(libbenchmark-dev libxml2-dev) ;;
            windows) wanted+=(cmake make g++-mingw-w64-x86-64 googletest wine64) ;;
            namespace) wanted+=(iproute2) ;;
            window) wanted+=(wine64 fonts-wine fonts-ipafont-gothic xvfb xdotool x11-utils) ;;
            sanitizers) wanted+=(clang-14 libfuzzer-14-dev libclang-rt-14-dev) ;;
            debian-package) wanted+=(dpkg-dev file lintian man-db bash-completion) ;;
            *) wanted+=("$word") ;;
        esac
    done
    for p in "${wanted[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== installing: ${missing[*]}" >&2
        DEBIAN_FRONTEND=noninteractive apt-get "${quirn_apt_wait[@]}" update -q >&2
        DEBIAN_FRONTEND=noninteractive apt-get "${quirn_apt_wait[@]}" install -y -q \
            --no-install-recommends "${missing[@]}" >&2
    fi
    case " $* " in *" native "*) quirn_promtool >/dev/null ;; esac
}
# Another script of the machine may be installing at the same time: wait for its lock.
quirn_apt_wait=(-o DPkg::Lock::Timeout=600)

# Prints the path of promtool: the one on PATH, or else the one in Debian's prometheus package,
# unpacked (on first use) into build-tools/ rather than installed, since installing the package
# also installs and, where services run, starts a Prometheus server that nothing here needs.
quirn_promtool() {
    local dir=$QUIRN_ROOT/build-tools/prometheus
    if command -v promtool 2>/dev/null; then
        return 0
    fi
    if [ ! -x "$dir/usr/bin/promtool" ]; then
        echo "== unpacking promtool from Debian's prometheus into $dir" >&2
        local download
        download=$(mktemp -d)
        (cd "$download" && { apt-get download -q prometheus >&2 ||
            { DEBIAN_FRONTEND=noninteractive apt-get "${quirn_apt_wait[@]}" update -q >&2 &&
                apt-get download -q prometheus >&2; }; }) &&
            mkdir -p "$dir" && dpkg-deb -x "$download"/prometheus_*.deb "$dir"
        local status=$?
        rm -rf "$download"
        [ "$status" = 0 ] || return "$status"
    fi
    echo "$dir/usr/bin/promtool"
}

# --- builds (CMakePresets.json) ---

# Configures the preset's build in DIR (the folder CMakePresets.json names for it, or another)
# and builds the named targets, or all of them.   quirn_build PRESET DIR [TARGET...]
quirn_build() {
    local preset=$1 dir=$2
    shift 2
    cmake --preset "$preset" -B "$dir"
    cmake --build "$dir" -j "$QUIRN_JOBS" ${1:+--target "$@"}
}

# Runs a build's tests.   quirn_ctest DIR [CTEST OPTIONS...]
quirn_ctest() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --output-on-failure -j "$QUIRN_JOBS" "$@"
}

# --- the router's private network namespace ---

# True inside the namespace the calling script re-ran itself in.
quirn_in_namespace() {
    [ "${QUIRN_NAMESPACE:-}" = "$quirn_script" ]
}

# The options of unshare for a private network and mount namespace: as root these alone,
# otherwise inside a user namespace of its own.
quirn_unshare_options() {
    if [ "$(id -u)" = 0 ]; then echo "-n -m"; else echo "-r -n -m"; fi
}

# Re-runs the calling script with these arguments inside a private namespace; does not return.
quirn_rerun_in_namespace() {
    # shellcheck disable=SC2046  # the options are words on purpose
    QUIRN_NAMESPACE=$quirn_script exec unshare $(quirn_unshare_options) bash "$quirn_script" "$@"
}

# For a test script: re-runs it with these arguments inside a private namespace (returns only
# there), or exits 77, a skipped test, where no such namespace can be made.
quirn_test_in_namespace() {
    quirn_in_namespace && return 0
    # shellcheck disable=SC2046  # the options are words on purpose
    if ! unshare $(quirn_unshare_options) true 2>/dev/null; then
        echo "no private network namespace can be made here: skipped"
        exit 77
    fi
    quirn_rerun_in_namespace "$@"
}

# Inside the namespace: brings loopback up and points the router's and the maker's host names at
# it through a hosts file of our own (the given lines come first), so nothing beyond this machine
# is asked. Sets `work`, a temporary folder, and `pids`, where the caller adds its background
# processes. At exit the commands in `at_exit` run, then the Wine session named by $WINESERVER
# (if any) ends, then those processes, and `work` is removed.
quirn_namespace_setup() {
    ip link set lo up
    work=$(mktemp -d)
    {
        [ $# -eq 0 ] || printf '%s\n' "$@"
        printf '127.0.0.1 localhost quirn.home.arpa www.vandrel.example\n'
    } >"$work/hosts"
    mount --bind "$work/hosts" /etc/hosts
    pids=()
    at_exit=()
    trap quirn_end_namespace_work EXIT
}

quirn_end_namespace_work() {
    local command pid
    for command in "${at_exit[@]}"; do
        $command || true
    done
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

# Starts the router simulator on port 80, logging the requests to $work/requests.log, and waits
# until it listens (sets `sim_pid`). A simulator this started before is stopped first.
#   quirn_start_sim QUIRN_SIM [quirn-sim options...]
quirn_start_sim() {
    local sim=$1
    shift
    quirn_stop_sim
    "$sim" --listen 127.0.0.1:80 --log "$work/requests.log" "$@" >"$work/sim.out" 2>&1 &
    sim_pid=$!
    pids+=("$sim_pid")
    for _ in $(seq 50); do
        grep -q listening "$work/sim.out" && return 0
        sleep 0.1
    done
    echo "quirn-sim did not start:" >&2
    cat "$work/sim.out" >&2
    return 1
}

quirn_stop_sim() {
    if [ -n "${sim_pid:-}" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}

# --- a private X display ---

# Starts Xvfb on the first free display from FIRST on (of twenty), exports DISPLAY and adds the
# server to `pids` when there is such a list; prints the display and the server's process id.
#   quirn_start_xvfb FIRST SIZE LOG      e.g. quirn_start_xvfb 93 1280x1024 "$work/xvfb.log"
quirn_start_xvfb() {
    local first=$1 size=$2 log=$3 number server
    for number in $(seq "$first" $((first + 19))); do
        if [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; then
            continue
        fi
        setsid Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp </dev/null >"$log" 2>&1 &
        server=$!
        for _ in $(seq 100); do
            [ -S "/tmp/.X11-unix/X$number" ] || ! kill -0 "$server" 2>/dev/null && break
            sleep 0.1
        done
        # A server that has gone lost the number to another one started at the same time.
        if kill -0 "$server" 2>/dev/null && [ -S "/tmp/.X11-unix/X$number" ]; then
            export DISPLAY=":$number"
            if declare -p pids >/dev/null 2>&1; then pids+=("$server"); fi
            echo "$DISPLAY $server"
            return 0
        fi
    done
    echo "no free X display from :$first" >&2
    return 1
}

# --- Wine ---

# Finds the 64-bit Wine loader and its server: sets QUIRN_WINE and QUIRN_WINESERVER.
quirn_wine_tools() {
    # Debian's wine64 package keeps the loader and the server outside PATH.
    if command -v wine64 >/dev/null 2>&1; then
        QUIRN_WINE=$(command -v wine64)
    elif [ -x /usr/lib/wine/wine64 ]; then
        QUIRN_WINE=/usr/lib/wine/wine64
    else
        echo "quirn_wine_tools: no 64-bit Wine loader; install Debian's wine64" >&2
        return 1
    fi
    # The server that matches the loader lies beside it.
    QUIRN_WINESERVER=$(dirname "$QUIRN_WINE")/wineserver
    if [ ! -x "$QUIRN_WINESERVER" ]; then
        QUIRN_WINESERVER=$(command -v wineserver) || {
            echo "quirn_wine_tools: no wineserver beside $QUIRN_WINE" >&2
            return 1
        }
    fi
}

# The environment for running the Windows build's programs under Wine in the prefix PREFIX_DIR,
# made on first use (wineboot, about ten seconds); afterwards it only sets variables and starts
# the prefix's session. Sets QUIRN_WINE (the 64-bit loader), QUIRN_WINESERVER and
# QUIRN_WINE_LOCALE, and exports WINEPREFIX, WINELOADER, WINESERVER and Wine's settings.
quirn_wine_env() {
    if [ -z "${1:-}" ]; then
        echo "usage: quirn_wine_env WINE_PREFIX_DIR" >&2
        return 2
    fi
    case $1 in
        /*) export WINEPREFIX=$1 ;;
        *) export WINEPREFIX=$PWD/$1 ;;
    esac
    export WINEARCH=win64
    export WINEDEBUG=-all
    # Neither .NET nor the HTML engine is wanted (Wine would offer to download them), and no
    # menu entries for the host's desktop.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Windows programs run in a Japanese user locale, whose ANSI code page is 932, as on the
    # program's users' machines. Wine takes it from the variable's name alone, so the locale need
    # not be installed; it is given to Wine only, never to the host's tools.
    QUIRN_WINE_LOCALE=ja_JP.UTF-8

    quirn_wine_tools || return 1
    export WINELOADER=$QUIRN_WINE WINESERVER=$QUIRN_WINESERVER

    # The marker is written once the prefix is complete on disk; test programs started in
    # parallel wait on the lock instead of booting a half-made prefix.
    if [ ! -e "$WINEPREFIX/.quirn-ready" ]; then
        mkdir -p "$(dirname "$WINEPREFIX")"
        (
            flock 9
            if [ ! -e "$WINEPREFIX/.quirn-ready" ]; then
                env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" wineboot --init >/dev/null 2>&1 9>&- &&
                    "$QUIRN_WINESERVER" -w 9>&- &&
                    touch "$WINEPREFIX/.quirn-ready"
            fi
        ) 9>"$WINEPREFIX.lock" || {
            echo "quirn_wine_env: wineboot --init failed for $WINEPREFIX" >&2
            return 1
        }
    fi

    # One server and one session for a whole test run, started here with no program's output
    # attached: Wine's background processes (services, device drivers) keep the output pipes of
    # the program that started them open, and CTest would wait on them for as long as the
    # session lasts. Neither may they inherit the lock. The server lingers 30 s after the last
    # program instead of 3 s, so a run's programs share it.
    (
        flock 9
        if "$QUIRN_WINESERVER" -p30 </dev/null >/dev/null 2>&1 9>&-; then
            env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" wineboot </dev/null >/dev/null 2>&1 9>&-
        fi
    ) 9>"$WINEPREFIX.lock" || true  # without a session the programs fail and say why
}

# The window's desktop inside Wine: the name and size tests/e2e/harness.py also uses.
QUIRN_WINE_DESKTOP=quirn
QUIRN_WINE_DESKTOP_SIZE=1024x768

# quirn_wine_env, and a prefix set up to show the program's window: the Windows fonts the program
# asks for as the IPA fonts, and Wine's virtual desktop "quirn" with a taskbar (so that the
# notification-area icon has somewhere to go) as the prefix's default desktop, where every
# program of the prefix opens. The settings are applied when they differ from the last ones,
# and the session is then started afresh, since the desktop takes them when it is made.
quirn_wine_window_prefix() {
    quirn_wine_env "$1" || return 1
    local settings=$WINEPREFIX/.quirn-window-settings
    quirn_wine_window_settings >"$settings.new"
    if cmp -s "$settings.new" "$settings"; then
        rm -f "$settings.new"
        return 0
    fi
    # regedit reads a file with a byte-order mark as UTF-16, which keeps the Japanese name.
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$settings.new"; } \
        >"$WINEPREFIX/drive_c/quirn-window.reg"
    env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" regedit /S 'C:\quirn-window.reg' \
        </dev/null >/dev/null 2>&1 || {
        echo "quirn_wine_window_prefix: regedit failed in $WINEPREFIX" >&2
        return 1
    }
    # Wine draws the caption buttons with its Marlett font (Debian's fonts-wine), which a new
    # prefix does not pick up from Wine's data folder by itself.
    local marlett
    marlett=$(dirname "$(readlink -f "$QUIRN_WINE")")/../../share/wine/fonts/marlett.ttf
    [ ! -f "$marlett" ] || cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    "$QUIRN_WINESERVER" -k 2>/dev/null || true
    "$QUIRN_WINESERVER" -w 2>/dev/null || true
    mv -f "$settings.new" "$settings"
    quirn_wine_env "$1"
}

# "MS UI Gothic" and "MS Shell Dlg" must be the proportional face, as on Japanese Windows: with
# the monospaced one the about box's version line and the settings dialog's labels are cut off.
quirn_wine_window_settings() {
    local desktop='HKEY_CURRENT_USER\Software\Wine\Explorer'
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"MS UI Gothic"="IPAPGothic"' '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"MS Shell Dlg"="IPAPGothic"' '"Tahoma"="IPAGothic"' '' \
        "[$desktop]" "\"Desktop\"=\"$QUIRN_WINE_DESKTOP\"" '' \
        "[$desktop\\Desktops]" "\"$QUIRN_WINE_DESKTOP\"=\"$QUIRN_WINE_DESKTOP_SIZE\"" '' \
        "[$desktop\\Desktops\\$QUIRN_WINE_DESKTOP]" '"EnableShell"=dword:00000001' ''
}
