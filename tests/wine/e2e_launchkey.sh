#!/bin/bash
# The first button after a launch is not lost: the power key launches the
# current application, and the very next button, pressed as soon as its
# window is up, reaches it as keystrokes; five rounds in a row.
#   e2e_launchkey.sh BUILD-DIR [ROUNDS]
# IT9135 stick, 50KEY layout (power is KeyCode 13, KeyCode 0 is NumPad 0),
# current application TotalMedia. A user's editor window is open. Each round:
# power launches TotalMedia with "remote"; once its window is up the editor
# takes the foreground back, and TotalMedia, like an application pausing its
# video, is busy for 300 ms after losing the activation, so that the
# program's foreground change back to it lands late; KeyCode 0, pressed at
# once, must arrive as VK_NUMPAD0 (96) down and up while TotalMedia has the
# focus, with no "Keys not sent" trace; power again closes it (Alt+F4).
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
rounds=${2:-5}
e2e_init "$1" launchkey 240
e2e_install
printf 'busy=300\r\n' >"$WINEPREFIX/drive_c/Program Files/ArcSoft/TotalMedia/TotalMedia.args"
e2e_settings DBM=1 Default44keyIR=4 DefaultTVAPP=5 DefaultLaunchAp=0
e2e_tuner plug it9135 >/dev/null
e2e_start_app Quillet.exe --class Notepad --title Editor
e2e_start_product

count() { e2e_log_count TotalMedia "$1"; }
digit='kind=key vk=96 dir=up .*injected=1 .*fg=1'
for round in $(seq "$rounds"); do
    ready=$(count 'kind=ready')
    digits=$(count "$digit")
    exits=$(count 'kind=exit')

    e2e_tuner press 13 >/dev/null
    e2e_wait 30 e2e_count_above TotalMedia 'kind=ready' "$ready" ||
        e2e_fail "round $round: power did not launch TotalMedia"
    e2e_probe activate Notepad Editor || e2e_fail "round $round: the editor could not take the foreground"
    e2e_tuner press 0 >/dev/null
    e2e_wait 15 e2e_count_above TotalMedia "$digit" "$digits" ||
        e2e_fail "round $round: KeyCode 0 right after the launch did not reach TotalMedia"
    [ "$(e2e_trace_count 'Keys not sent')" = 0 ] || e2e_fail "round $round: keystrokes were dropped"

    e2e_tuner press 13 >/dev/null
    e2e_wait 15 e2e_count_above TotalMedia 'kind=exit' "$exits" ||
        e2e_fail "round $round: the second power press did not close TotalMedia"
    e2e_wait 10 eval '! e2e_probe find - "ArcSoft TotalMedia" >/dev/null' ||
        e2e_fail "round $round: the TotalMedia window is still there"
    e2e_log "round $round: launched, the first key arrived, closed"
done
[ "$(count 'kind=start args="remote"')" = "$rounds" ] ||
    e2e_fail "TotalMedia was started $(count 'kind=start') times, not $rounds times with \"remote\""
e2e_pass "$rounds launches in a row: the first button after each reached TotalMedia"
