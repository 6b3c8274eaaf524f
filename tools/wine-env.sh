# Environment for running the Windows build's programs under Wine, sourced by bash with the
# Wine prefix directory as its argument:   . tools/wine-env.sh build-win/wine
# Makes the prefix on first use (wineboot, about ten seconds); afterwards it only sets variables.
# Sets QUIRN_WINE (the 64-bit loader), QUIRN_WINESERVER and QUIRN_WINE_LOCALE.

if [ -z "${1:-}" ]; then
    echo "usage: . wine-env.sh WINE_PREFIX_DIR" >&2
    return 2
fi
case $1 in
    /*) export WINEPREFIX=$1 ;;
    *) export WINEPREFIX=$PWD/$1 ;;
esac
export WINEARCH=win64
export WINEDEBUG=-all
# Neither .NET nor the HTML engine is wanted (Wine would offer to download them), and no menu
# entries for the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Windows programs run in a Japanese user locale, whose ANSI code page is 932, as on the
# program's users' machines. Wine takes it from the variable's name alone, so the locale need not
# be installed; it is given to Wine only, never to the host's tools.
QUIRN_WINE_LOCALE=ja_JP.UTF-8

# Debian's wine64 package keeps the loader and the server outside PATH.
if command -v wine64 >/dev/null 2>&1; then
    QUIRN_WINE=$(command -v wine64)
elif [ -x /usr/lib/wine/wine64 ]; then
    QUIRN_WINE=/usr/lib/wine/wine64
else
    echo "wine-env.sh: no 64-bit Wine loader; install Debian's wine64" >&2
    return 1
fi
# The server that matches the loader lies beside it.
QUIRN_WINESERVER=$(dirname "$QUIRN_WINE")/wineserver
if [ ! -x "$QUIRN_WINESERVER" ]; then
    QUIRN_WINESERVER=$(command -v wineserver) || {
        echo "wine-env.sh: no wineserver beside $QUIRN_WINE" >&2
        return 1
    }
fi
export WINELOADER=$QUIRN_WINE WINESERVER=$QUIRN_WINESERVER

# The marker is written once the prefix is complete on disk; test programs started in parallel
# wait on the lock instead of booting a half-made prefix.
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
        echo "wine-env.sh: wineboot --init failed for $WINEPREFIX" >&2
        return 1
    }
fi

# One server and one session for a whole test run, started here with no program's output
# attached: Wine's background processes (services, device drivers) keep the output pipes of the
# program that started them open, and CTest would wait on them for as long as the session lasts.
# Neither may they inherit the lock. The server lingers 30 s after the last program instead of
# 3 s, so a run's programs share it.
(
    flock 9
    if "$QUIRN_WINESERVER" -p30 </dev/null >/dev/null 2>&1 9>&-; then
        env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
) 9>"$WINEPREFIX.lock" || true  # without a session the programs fail and say why
