#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix, made on first use: the cross build's
# emulator for CTest and test discovery.
#   wine-run.sh WINE_PREFIX_DIR PROGRAM.exe [ARGUMENTS...]
set -u
. "$(dirname "$0")/lib.sh" || exit 125
quirn_wine_env "$1" || exit 125
shift
exec env LC_ALL="$QUIRN_WINE_LOCALE" "$QUIRN_WINE" "$@"
