#!/bin/bash
# Switching from the tray menu (its WM_COMMAND items): from Lumetra Center to
# the Lumetra panel closes Lumetra Center and launches the panel, and a
# switch to a Pallamo that is already running activates it and starts nothing.
#   e2e_switching.sh BUILD-DIR
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" switching 180
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=9 DefaultLaunchAp=0
e2e_tuner plug af9015 >/dev/null
e2e_start_product
main="Remote Control"

e2e_start_app MainCenter.exe
e2e_probe post "$main" - 273 1106 0 || e2e_fail "cannot reach the main window"
e2e_wait 20 e2e_logged MainCenter 'kind=exit' || e2e_fail "switching to the panel left Lumetra Center open"
e2e_wait 20 e2e_logged MainPanel 'kind=ready' || e2e_fail "switching to the panel did not launch it"
[ "$(e2e_log_count MainPanel 'kind=start')" = 1 ] || e2e_fail "the panel was started more than once"

e2e_start_app Quillet.exe
e2e_probe post "$main" - 273 1102 0 || e2e_fail "cannot reach the main window"
e2e_wait 20 e2e_logged MainPanel 'kind=exit' || e2e_fail "switching to Pallamo left the panel open"
sleep 2
[ "$(e2e_log_count Quillet 'kind=start')" = 1 ] || e2e_fail "a running Pallamo was started again"
e2e_probe foreground | grep -q Tessaryn || e2e_fail "the running Pallamo was not brought to the front"
e2e_pass "switching closes the other application, launches the panel, activates a running Pallamo"
