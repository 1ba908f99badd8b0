#!/bin/bash
# Prepares or stops a Wine prefix of a Windows build for its tests.
#   wine_prefix.sh BUILD/wine_env.sh start|stop PREFIX-NAME
# start: makes the prefix from the build's template when missing, starts a
# private virtual display for it, then its wineserver and Wine's own
# processes, all detached from ctest's output.
# stop: ends every process of the prefix, its wineserver and its display.
set -u
env_file=$1 action=$2 name=$3
. "$(dirname "$0")/../../scripts/lib.sh"
rc_wine_env "$(dirname "$env_file")"
display_state=$RC_WINE_DIR/$name.display
case $action in
start)
    rc_wine_prefix "$name" || rc_die "cannot make the Wine prefix $RC_WINE_DIR/$name"
    rc_wine_stop
    rc_xvfb_stop "$display_state"
    rc_xvfb_start "$display_state" || rc_die "no virtual display"
    rc_wine_start
    ;;
stop)
    export WINEPREFIX=$RC_WINE_DIR/$name
    rc_wine_stop
    rc_xvfb_stop "$display_state"
    ;;
*)
    rc_die "unknown action $action"
    ;;
esac
