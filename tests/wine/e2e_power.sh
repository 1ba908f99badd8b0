#!/bin/bash
# The power key with nothing open launches the current application (the
# stand-in is started with "remote"), and a second press closes it.
#   e2e_power.sh BUILD-DIR
# AF9015 stick, 32KEY layout (power is KeyCode 67), current application Pallamo.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" power 180
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug af9015 >/dev/null
e2e_start_product

e2e_tuner press power >/dev/null
e2e_wait 30 e2e_logged Quillet 'kind=ready' || e2e_fail "power did not launch Pallamo (Quillet.exe)"
e2e_logged Quillet 'kind=start args="remote"' || e2e_fail "Pallamo was not started with \"remote\""
[ "$(e2e_log_count Quillet 'kind=start')" = 1 ] || e2e_fail "Pallamo was started more than once"
e2e_probe find - Tessaryn >/dev/null || e2e_fail "no Tessaryn window after the launch"

sleep 1.5
e2e_tuner press power >/dev/null
e2e_wait 15 e2e_logged Quillet 'kind=close reason=message_3000_25' ||
    e2e_fail "the second power press did not send Pallamo its close message (3000, 25)"
e2e_wait 15 e2e_logged Quillet 'kind=exit' || e2e_fail "Pallamo did not exit"
e2e_wait 10 eval '! e2e_probe find - Tessaryn >/dev/null' || e2e_fail "the Tessaryn window is still there"
[ "$(e2e_log_count Quillet 'kind=start')" = 1 ] || e2e_fail "the second press launched Pallamo again"
e2e_pass "power launches Pallamo with \"remote\", a second press closes it"
