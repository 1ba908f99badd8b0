#!/bin/bash
# The demo behind scripts/run answers typed buttons with what the stand-in
# application received: a posted command, a relaunch by the power key, the
# Shut Down dialog and its cancelling, the player of the user's own through
# applications.ini, a keystroke chord, the pointer, the on-screen display.
#   e2e_demo.sh BUILD-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$build/e2e-logs/demo-session.txt
mkdir -p "$(dirname "$out")"
printf '%s\n' num1 power power 'close pallamo' shutdown ok 'open player' play volup 'close player' \
    'open totalmedia' 22 osd 22 quit |
    timeout 400 bash "$(dirname "$0")/../../tools/demo/demo.sh" "$build" >"$out" 2>&1 || {
    tail -n 40 "$out" >&2
    echo "[e2e demo] FAIL: the demo did not end cleanly" >&2
    exit 1
}
expect() {
    grep -qF -- "$1" "$out" || {
        sed -n '/^Ready/,$p' "$out" >&2
        echo "[e2e demo] FAIL: the demo did not show: $1" >&2
        exit 1
    }
}
expect "Remote Control demo"
expect "Pallamo         message 3000 wParam 10001"
expect "Pallamo         message 3000 wParam 25"
expect 'Pallamo         started with arguments "remote"'
expect 'dialog open: "Remote Control - Shut Down"'
expect "dialog closed"
expect "Player          keystrokes SPACE  [SPACE down, SPACE up]"
expect "Player          WM_APPCOMMAND command 10"
expect "TotalMedia      keystrokes CTRL+SHIFT+P  [CTRL down, SHIFT down, P down, P up, SHIFT up, CTRL up]"
expect "Show buttons on screen: on"
expect "on screen: Play → TotalMedia"
echo "[e2e demo] PASS: the demo session is in $out"
