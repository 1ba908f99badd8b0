#!/bin/bash
# With nothing open, the 1-3 button opens the Shut Down dialog and any other
# button cancels it. (The power key would confirm: never under Wine.)
#   e2e_shutdown.sh BUILD-DIR
# IT9135 stick, 44KEY layout: the 1-3 button is KeyCode 29.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" shutdown 180
e2e_install
e2e_settings DBM=1 Default44keyIR=0 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug it9135 >/dev/null
e2e_start_product

e2e_tuner press 29 >/dev/null
e2e_probe wait '#32770' 'Remote Control - Shut Down' 15000 ||
    e2e_fail "the 1-3 button did not open the Shut Down dialog"
e2e_probe visible '#32770' 'Remote Control - Shut Down' || e2e_fail "the Shut Down dialog is not visible"
sleep 1
e2e_tuner press 2 >/dev/null
e2e_probe waitgone '#32770' 'Remote Control - Shut Down' 15000 ||
    e2e_fail "another button did not cancel the Shut Down dialog"
sleep 1
e2e_probe find 'Remote Control' - >/dev/null || e2e_fail "RemoteControl.exe is gone after cancelling"
e2e_pass "1-3 opens the Shut Down dialog, another button cancels it"
