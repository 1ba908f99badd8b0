#!/bin/bash
# Runs a Windows program of a build under Wine, in one of its prefixes: the
# emulator of the Windows build's ctest entries.
#   run_in_wine.sh BUILD/wine_env.sh PREFIX-NAME PROGRAM [ARGS...]
set -u
env_file=$1 name=$2
shift 2
. "$(dirname "$0")/../../scripts/lib.sh"
rc_wine_env "$(dirname "$env_file")"
export WINEPREFIX=$RC_WINE_DIR/$name
[ -f "$WINEPREFIX/.rc-ready" ] || rc_die "no Wine prefix in $WINEPREFIX (the wine_prefix_start test makes it)"
exec "$RC_WINE_LOADER" "$@"
