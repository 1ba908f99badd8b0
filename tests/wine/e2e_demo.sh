#!/bin/bash
# The demo behind scripts/run: first the README's example, typed as written
# there, must print the README's lines in their order; then a session answers
# typed buttons with each press's outcome: a posted command, a relaunch by the
# power key, the Shut Down dialog and its cancelling, the player of the
# user's own through applications.ini, and the stand-ins' messages on
# request, without those of focus changes.
#   e2e_demo.sh BUILD-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
readme=$here/../../README.md
mkdir -p "$build/e2e-logs"

# run_demo OUT COMMAND...: the demo with these commands typed, then quit.
run_demo() {
    local out=$1
    shift
    printf '%s\n' "$@" quit |
        timeout 400 bash "$here/../../tools/demo/demo.sh" "$build" >"$out" 2>&1 || {
        tail -n 40 "$out" >&2
        echo "[e2e demo] FAIL: the demo did not end cleanly" >&2
        exit 1
    }
}

# The README's example: the text block after "`scripts/run` is a demo".
example=$(awk '/^`scripts\/run` is a demo/ { on = 1 } on && /^```text$/ { inblock = 1; next }
    inblock && /^```$/ { exit } inblock' "$readme")
[ -n "$example" ] || {
    echo "[e2e demo] FAIL: no example in $readme" >&2
    exit 1
}
mapfile -t commands < <(printf '%s\n' "$example" | sed -n 's/^remote> //p')
out=$build/e2e-logs/demo-readme.txt
run_demo "$out" "${commands[@]}"
# Every line of the example, in its order, among the demo's lines after
# "Ready" (the prompt is not echoed when the input is not a terminal).
printf '%s\n' "$example" | grep -v '^remote> ' >"$out.expected"
sed -n '/^Ready/,$p' "$out" | awk -v want="$out.expected" '
    BEGIN { n = 0; i = 0; while ((getline l < want) > 0) w[n++] = l }
    i < n && $0 == w[i] { i++ }
    END {
        if (i < n) { print "[e2e demo] FAIL: the README example did not print: " w[i] > "/dev/stderr"; exit 1 }
    }' || {
    sed -n '/^Ready/,$p' "$out" >&2
    exit 1
}

out=$build/e2e-logs/demo-session.txt
run_demo "$out" power power 'close pallamo' shutdown ok 'open player' play volup 'close player' \
    'open pallamo' 'messages on' 'open totalmedia' ok
expect() {
    grep -qF -- "$1" "$out" || {
        sed -n '/^Ready/,$p' "$out" >&2
        echo "[e2e demo] FAIL: the demo did not show: $1" >&2
        exit 1
    }
}
expect "Remote Control demo"
expect "power → Pallamo [message 3000 (25)]"
expect "power → Pallamo [launch]"
expect 'Pallamo         started with arguments "remote"'
expect 'dialog open: "Remote Control - Shut Down"'
expect "ok → Shut Down dialog [Esc]"
expect "dialog closed"
expect "play → Player [Space]"
expect "volup → Player [WM_APPCOMMAND VOLUME_UP]"
expect "ok → Pallamo [message 3000 (35005)]"
expect "Pallamo         message 3000 wParam 35005"
# TotalMedia took the activation from Pallamo: its messages are not shown.
if grep -Eq 'message (6|7|8|28|134|641|642) wParam' "$out"; then
    sed -n '/^Ready/,$p' "$out" >&2
    echo "[e2e demo] FAIL: focus-change messages were shown" >&2
    exit 1
fi
echo "[e2e demo] PASS: the demo sessions are in $build/e2e-logs/demo-*.txt"
