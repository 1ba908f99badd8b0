#!/bin/bash
# Pulling the stick hands polling over to the watchdog; plugging it back in
# brings polling back and, with DefaultLaunchAp 1, launches the current
# application.
#   e2e_replug.sh BUILD-DIR
# AF9015 stick, 32KEY layout, current application Pallamo, nothing open.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" replug 240
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=1
e2e_tuner plug af9015 >/dev/null
e2e_start_product
e2e_traced StartGPIOTimer || e2e_fail "polling did not start with the stick plugged in"
[ "$(e2e_tuner_count 'af15_init -> 1')" = 1 ] || e2e_fail "af15_init was not called once at start"

e2e_tuner unplug >/dev/null
e2e_wait 10 e2e_traced 'GPIOTime-Maybe the USB has removed' ||
    e2e_fail "pulling the stick was not noticed by the poll"
e2e_wait 5 e2e_traced 'GPIOTime-StartChkUSBTimer' || e2e_fail "the watchdog was not started"
# While it is pulled the watchdog looks every 3 s and brings nothing up.
sleep 7
[ "$(e2e_tuner_count 'af15_init')" = 1 ] || e2e_fail "af15_init was called with no stick"
e2e_logged Quillet 'kind=start' && e2e_fail "Pallamo was launched with no stick"

e2e_tuner plug af9015 >/dev/null
e2e_wait 10 eval '[ "$(e2e_tuner_count "af15_init -> 1")" = 2 ]' ||
    e2e_fail "the watchdog did not bring the stick up again within 3 s"
e2e_wait 30 e2e_logged Quillet 'kind=start args="remote"' ||
    e2e_fail "Pallamo was not launched (with \"remote\") when the stick came back"
# After the launch the program waits for Pallamo and sends it command 207.
e2e_wait 30 e2e_logged Quillet 'kind=queue msg=3000 wparam=207 ' ||
    e2e_fail "Pallamo did not receive command 207 after the automatic launch"

# Polling is back: the num1 button (KeyCode 4) reaches Pallamo (the code waits
# in the receiver while the program still waits for Pallamo after the launch).
before=$(e2e_log_count Quillet 'kind=queue msg=3000 wparam=10001 ')
e2e_tuner press num1 >/dev/null
e2e_wait 20 e2e_count_above Quillet 'kind=queue msg=3000 wparam=10001 ' "$before" ||
    e2e_fail "after re-plugging, a button no longer reaches Pallamo"
e2e_pass "unplug, watchdog, re-plug, automatic launch, polling again"
