# Environment for running the Windows build's programs under Wine, sourced by bash with the
# Wine prefix directory as its argument:   . tools/wine-env.sh build-win/wine
# Makes the prefix on first use (wineboot, about ten seconds); afterwards it only sets variables.
# Sets QUIRN_WINE (the 64-bit loader) and QUIRN_WINESERVER.

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
# Neither .NET nor the HTML engine is wanted; without this Wine offers to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's wine64 package keeps the loader and the server outside PATH.
if command -v wine64 >/dev/null 2>&1; then
    QUIRN_WINE=$(command -v wine64)
elif [ -x /usr/lib/wine/wine64 ]; then
    QUIRN_WINE=/usr/lib/wine/wine64
else
    echo "wine-env.sh: no 64-bit Wine loader; install Debian's wine64" >&2
    return 1
fi
if command -v wineserver >/dev/null 2>&1; then
    QUIRN_WINESERVER=$(command -v wineserver)
else
    QUIRN_WINESERVER=$(dirname "$QUIRN_WINE")/wineserver
fi
export WINELOADER=$QUIRN_WINE WINESERVER=$QUIRN_WINESERVER

# The marker is written once the prefix is complete on disk; test programs started in parallel
# wait on the lock instead of booting a half-made prefix.
if [ ! -e "$WINEPREFIX/.quirn-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -e "$WINEPREFIX/.quirn-ready" ]; then
            "$QUIRN_WINE" wineboot --init >/dev/null 2>&1 &&
                "$QUIRN_WINESERVER" -w &&
                touch "$WINEPREFIX/.quirn-ready"
        fi
    ) 9>"$WINEPREFIX.lock" || {
        echo "wine-env.sh: wineboot --init failed for $WINEPREFIX" >&2
        return 1
    }
fi
