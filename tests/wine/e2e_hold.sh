#!/bin/bash
# A held button (repeat frames about every 108 ms) gives exactly one command;
# a new press after letting go gives the next one.
#   e2e_hold.sh BUILD-DIR
# AF9015 stick, 32KEY layout, Pallamo open; num1 (KeyCode 4) is command 10001.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" hold 180
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug af9015 >/dev/null
e2e_start_app Quillet.exe
e2e_start_product

count() { e2e_log_count Quillet 'kind=queue msg=3000 wparam=10001 '; }
e2e_tuner hold num1 1500 >/dev/null
e2e_wait 15 eval '[ "$(count)" -ge 1 ]' || e2e_fail "the held button gave no command"
sleep 3
frames=$(e2e_tuner_count 'af9015 frame .*scan=0x1E')
[ "$frames" -ge 10 ] || e2e_fail "only $frames repeat frames were read while the button was held"
[ "$(count)" = 1 ] || e2e_fail "holding num1 for 1.5 s ($frames frames read) gave $(count) commands"
[ "$(e2e_trace_count 'bRepeatKey')" -ge 5 ] || e2e_fail "the repeat filter did not see the repeats"

e2e_tuner press num1 >/dev/null
e2e_wait 15 eval '[ "$(count)" = 2 ]' || e2e_fail "a new press after the hold gave no second command"
e2e_pass "held for 1.5 s ($frames frames): one command"
