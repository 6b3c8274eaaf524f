#!/usr/bin/env bash
# The main job: quirnctl reads the router's status and checks the Internet through it, exactly
# as shipped (port 80, the router's own host name, full time-outs), and then the Windows program
# itself runs under Wine against the same router. The router is quirn-sim, started inside a
# private network and mount namespace whose own hosts file points the router's and the maker's
# names at loopback, so nothing on this machine or beyond it is touched.
#
# The window opens on the user's X display when DISPLAY names a local one, otherwise on a private
# Xvfb; a screenshot is saved once the first status is shown (docs/window-live.png, or
# QUIRN_DEMO_SHOT). On Xvfb the program runs QUIRN_DEMO_SECONDS (default 20) and is then closed
# with its close box; on the user's display it runs until the user ends it.
# QUIRN_DEMO_WINDOW=0 skips the Windows program.
# Usage: tools/demo.sh [quirn-sim options, e.g. --scenario charging]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUIRN_ROOT"

win_build=build-demo-win
want_window=${QUIRN_DEMO_WINDOW:-1}

if ! quirn_in_namespace; then
    quirn_need cmake g++ make python3 namespace
    if [ ! -x build/cli/quirnctl ] || [ ! -x build/sim/quirn-sim ]; then
        echo "== building quirnctl and quirn-sim" >&2
        quirn_build native-programs build quirnctl quirn-sim >/dev/null
    fi
    if [ "$want_window" = 1 ]; then
        quirn_need windows window wine imagemagick
        echo "== building QuirnMobileTool.exe" >&2
        quirn_build demo-win "$win_build" QuirnMobileTool >/dev/null
    fi
    quirn_rerun_in_namespace "$@"
fi

quirn_namespace_setup
quirn_start_sim build/sim/quirn-sim "$@"

status=0
echo "== quirnctl status --json   (router: quirn-sim as quirn.home.arpa, port 80)" >&2
build/cli/quirnctl status --json || status=$?
echo "== quirnctl check           (maker's host: quirn-sim as www.vandrel.example)" >&2
build/cli/quirnctl check || status=$?
echo "== quirnctl exit status $status (0: both succeeded)" >&2
[ "$want_window" = 1 ] || exit "$status"

# --- The Windows program under Wine ---

# A display reached over the network is out of reach from this namespace: only a local one
# (a unix socket) is used, otherwise a private Xvfb.
own_display=0
if [[ "${DISPLAY:-}" =~ ^:([0-9]+) ]] && [ -S "/tmp/.X11-unix/X${BASH_REMATCH[1]}" ]; then
    own_display=1
else
    quirn_start_xvfb 93 1280x1024 "$work/xvfb.log" >/dev/null
fi
echo "== QuirnMobileTool.exe under Wine on display $DISPLAY" >&2

# A prefix of the demo's own, set up for the window; the program and the profile it writes
# beside itself live in it.
quirn_wine_window_prefix "$win_build/wine"
install_dir="$WINEPREFIX/drive_c/quirn"
mkdir -p "$install_dir"
cp "$win_build/platform/win32/app/QuirnMobileTool.exe" "$install_dir/"
rm -f "$install_dir/QuirnMobileTool.INI"

polls_before=$(grep -c 'GET /mobile/mobile.cgi/info_remote_main' "$work/requests.log" || true)
(cd "$install_dir" && exec env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" explorer \
    "/desktop=$QUIRN_WINE_DESKTOP,$QUIRN_WINE_DESKTOP_SIZE" 'C:\quirn\QuirnMobileTool.exe') \
    >"$work/wine.log" 2>&1 &
wine_pid=$!
pids+=("$wine_pid")

# The first status has arrived when the router has answered a status fetch; the window shows it
# at once, and its tray tip and pictures a moment later.
shown=0
for _ in $(seq 600); do
    polls=$(grep -c 'GET /mobile/mobile.cgi/info_remote_main' "$work/requests.log" || true)
    if [ "$polls" -gt "$polls_before" ] &&
        xdotool search --name '^Quirn Mobile Tool$' >/dev/null 2>&1; then
        shown=1
        break
    fi
    sleep 0.1
done
if [ "$shown" = 1 ]; then
    sleep 3
    shot=${QUIRN_DEMO_SHOT:-docs/window-live.png}
    desktop=$(xdotool search --name "^$QUIRN_WINE_DESKTOP - Wine desktop\$" | head -n 1)
    import -window "${desktop:-root}" "$shot"
    echo "== first status shown; screenshot: $shot" >&2
else
    echo "== the window did not show a status within a minute" >&2
    status=1
fi

if [ "$own_display" = 1 ]; then
    echo "== running until the program is ended (menu: システム > アプリケーションの終了)" >&2
    wait "$wine_pid" || true
else
    sleep "${QUIRN_DEMO_SECONDS:-20}"
    # Closed with its close box, so the program saves its settings on the way out. The window
    # has an X window of its own inside the desktop's; the box sits at its top right corner.
    window=$(xdotool search --name '^Quirn Mobile Tool$' | head -n 1)
    if [ -n "$window" ]; then
        width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
        xdotool mousemove --window "$window" $((width - 12)) 10 click 1
    fi
    for _ in $(seq 100); do
        [ -f "$install_dir/QuirnMobileTool.INI" ] && break
        sleep 0.1
    done
fi
echo "== router requests of the run:" >&2
cat "$work/requests.log" >&2
if [ -f "$install_dir/QuirnMobileTool.INI" ]; then
    echo "== profile written at exit:" >&2
    tr -d '\r' <"$install_dir/QuirnMobileTool.INI" >&2
else
    echo "== no profile was written" >&2
    status=1
fi
echo "== exit status $status (0: quirnctl and the window succeeded)" >&2
exit "$status"
