#!/bin/bash
# Prepares or stops a Wine prefix of a Windows build for its tests.
#   wine_prefix.sh BUILD/wine_env.sh start|stop PREFIX-NAME
# start: makes the prefix from the build's template when missing, then starts
# its wineserver and Wine's own processes detached from ctest's output.
# stop: ends every process of the prefix and its wineserver.
set -u
env_file=$1 action=$2 name=$3
. "$(dirname "$0")/../../scripts/lib.sh"
rc_wine_env "$(dirname "$env_file")"
case $action in
start)
    rc_wine_prefix "$name" || rc_die "cannot make the Wine prefix $RC_WINE_DIR/$name"
    rc_wine_start
    ;;
stop)
    export WINEPREFIX=$RC_WINE_DIR/$name
    rc_wine_stop
    ;;
*)
    rc_die "unknown action $action"
    ;;
esac
