#!/bin/bash
# The computer sleeps and wakes: the stick loses power and its chip its IR
# set-up, while its filter stays listed. The resume brings the receiver up
# again, as after a re-plug, and the remote works at once.
#   e2e_sleep.sh BUILD-DIR
# AF9015 stick, 32KEY layout, Pallamo open; num1 (KeyCode 4) is command 10001.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" sleep 180
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug af9015 >/dev/null
e2e_start_app Quillet.exe
e2e_start_product

count() { e2e_log_count Quillet 'kind=queue msg=3000 wparam=10001 '; }
inits() { e2e_tuner_count 'af15_init -> 1'; }
# power EVENT: WM_POWERBROADCAST (0x218) posted to the program's hidden window.
power() { e2e_probe post "Remote Control" - 0x218 "$1" 0 || e2e_fail "cannot post WM_POWERBROADCAST $1"; }

before=$(count)
e2e_tuner press num1 >/dev/null
e2e_wait 10 e2e_count_above Quillet 'kind=queue msg=3000 wparam=10001 ' "$before" ||
    e2e_fail "num1 did not reach Pallamo before the sleep"

# What the sleep does to the stick, seen first without one: the remote is dead.
e2e_tuner lose-setup >/dev/null
before=$(count)
e2e_tuner press num1 >/dev/null
sleep 2
[ "$(count)" = "$before" ] || e2e_fail "a chip that lost its IR set-up still delivered a press"

power 4
e2e_wait 10 e2e_traced PBT_APMSUSPEND || e2e_fail "the program did not hear the suspend"
power 18
power 7
before=$(count)
e2e_tuner press num1 >/dev/null
e2e_wait 6 e2e_count_above Quillet 'kind=queue msg=3000 wparam=10001 ' "$before" ||
    e2e_fail "after the resume num1 did not reach Pallamo within 6 s"
e2e_tuner_called 'IR set-up restored' || e2e_fail "the chip's IR set-up was not restored"
e2e_traced 'USB Init Afa9015' || e2e_fail "the resume did not go through the watchdog's bring-up"

# One bring-up for the two resume messages, also once the watchdog would
# have ticked again.
sleep 4
[ "$(inits)" = 2 ] || e2e_fail "af15_init ran $(inits) times, wanted 2 (start and one resume)"
before=$(count)
e2e_tuner press num1 >/dev/null
e2e_wait 10 e2e_count_above Quillet 'kind=queue msg=3000 wparam=10001 ' "$before" ||
    e2e_fail "a later num1 did not reach Pallamo"
e2e_pass "suspend, a chip without its IR set-up, resume: one bring-up, the remote works again"
