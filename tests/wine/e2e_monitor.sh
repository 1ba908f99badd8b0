#!/bin/bash
# The button monitor: the tray menu's command 1301 opens one window of class
# "Remote Control Monitor" whose list gains a row for every press read, also
# for those nothing takes and for the frames of a held button; the command
# again brings the same window to the front.
#   e2e_monitor.sh BUILD-DIR
# AF9015 stick, 32KEY layout, no application open.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" monitor 180
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug af9015 >/dev/null
e2e_start_product

main="Remote Control"
monitor="Remote Control Monitor"
e2e_probe post "$main" - 273 1301 0 || e2e_fail "cannot reach the main window"
e2e_probe wait "$monitor" "Button monitor" 15000 || e2e_fail "command 1301 opened no monitor"
e2e_probe visible "$monitor" - || e2e_fail "the monitor is not visible"
rows() { e2e_probe sendchild "$monitor" - SysListView32 4100 0 0 | tr -d "\r"; }  # LVM_GETITEMCOUNT
[ "$(rows)" = 0 ] || e2e_fail "the monitor opened with $(rows) rows before any press"

reads() { e2e_trace_count 'ACK=> Code'; }
n=0
for b in num1 up ok; do
    e2e_tuner press "$b" >/dev/null
    n=$((n + 1))
    e2e_wait 10 eval '[ "$(rows)" = $n ]' || e2e_fail "after press $n ($b) the list has $(rows) rows"
    sleep 0.5
done
# A held button: one row per frame read, repeats included.
e2e_tuner hold volup 700 >/dev/null
sleep 2
[ "$(rows)" = "$(reads)" ] || e2e_fail "$(reads) presses read, $(rows) rows"
[ "$(rows)" -gt 4 ] || e2e_fail "the held volup added no repeat rows ($(rows) rows)"

# The command again: the same window, not a second one.
e2e_probe activate "$main" - >/dev/null 2>&1 || true
e2e_probe post "$main" - 273 1301 0 || e2e_fail "cannot reach the main window"
sleep 1
[ "$(e2e_probe list | grep -c "$monitor")" = 1 ] || e2e_fail "a second monitor opened"
e2e_probe foreground | grep -q "class=\"$monitor\"" || e2e_fail "the monitor is not in front"

e2e_probe post "$monitor" - 16 0 0 || e2e_fail "cannot close the monitor"
e2e_probe waitgone "$monitor" - 10000 || e2e_fail "the monitor did not close"
e2e_pass "button monitor: $(reads) presses read, a row for each"
