#!/bin/bash
# Runs a Windows program of a build under Wine, in one of its prefixes and on
# that prefix's virtual display: the emulator of the Windows build's tests.
#   run_in_wine.sh BUILD/wine_env.sh PREFIX-NAME PROGRAM [ARGS...]
set -u
env_file=$1 name=$2
shift 2
. "$(dirname "$0")/../../scripts/lib.sh"
rc_wine_env "$(dirname "$env_file")"
export WINEPREFIX=$RC_WINE_DIR/$name
[ -f "$WINEPREFIX/.rc-ready" ] ||
    rc_die "no Wine prefix in $WINEPREFIX (the wine_prefix_start test makes it)"
rc_xvfb_use "$RC_WINE_DIR/$name.display" ||
    rc_die "no virtual display for $WINEPREFIX (the wine_prefix_start test starts it)"
exec "$RC_WINE_LOADER" "$@"
