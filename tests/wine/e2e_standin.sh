#!/bin/bash
# The stand-in TV application on its own: each installed copy opens the window
# of the application it stands for, logs posted messages and injected
# keystrokes (in order, with their flags, and whether it had the focus),
# shows and hides secondary windows as asked, and closes on WM_CLOSE,
# Alt+F4 and its application's close message.
#   e2e_standin.sh BUILD-DIR
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" standin 180
e2e_install

# Pallamo's stand-in with a hidden and a visible secondary form.
e2e_start_app Quillet.exe remote --popup "TDialogForm||hidden" --popup "Tessaryn|PictureView"
e2e_logged Quillet 'kind=start args="remote"' || e2e_fail "the arguments were not logged"
e2e_probe find - Tessaryn >/dev/null || e2e_fail "no window titled Tessaryn"
e2e_probe find TDialogForm - >/dev/null || e2e_fail "the hidden TDialogForm was not created"
! e2e_probe visible TDialogForm - || e2e_fail "TDialogForm should be hidden"
e2e_probe visible Tessaryn PictureView || e2e_fail "PictureView should be visible"

e2e_probe post - Tessaryn 3000 10001 0 || e2e_fail "cannot post to Tessaryn"
e2e_wait 10 e2e_logged Quillet 'win=main kind=queue msg=3000 wparam=10001 lparam=0x00000000' ||
    e2e_fail "the posted message 3000/10001 was not logged"

# TotalMedia's stand-in takes the focus; a chord reaches it in order.
e2e_start_app TotalMedia.exe
e2e_probe keys 17 16 80 || e2e_fail "cannot inject keys"
keys() { grep 'kind=key' "$(e2e_app_log TotalMedia)" | sed -n 's/.* vk=\([0-9]*\) dir=\([a-z]*\).* fg=\([01]\).*/\1\2\3/p' | tr '\n' ' '; }
e2e_wait 10 eval '[ "$(keys)" = "17down1 16down1 80down1 80up1 16up1 17up1 " ]' ||
    e2e_fail "Ctrl+Shift+P reached TotalMedia as: $(keys)"
e2e_logged TotalMedia 'kind=queue msg=256 wparam=80 ' || e2e_fail "no WM_KEYDOWN P in TotalMedia's queue"
e2e_logged Quillet 'kind=key vk=80 dir=down .*fg=0' || e2e_fail "Quillet's hook did not see P as someone else's"

# Closing: Alt+F4, the application's close message, WM_CLOSE.
e2e_probe keys 18 115
e2e_wait 10 e2e_logged TotalMedia 'kind=exit' || e2e_fail "Alt+F4 did not close TotalMedia"
e2e_probe post - Tessaryn 3000 25 0
e2e_wait 10 e2e_logged Quillet 'kind=close reason=message_3000_25' || e2e_fail "3000/25 did not close Quillet"
e2e_wait 10 e2e_logged Quillet 'kind=exit' || e2e_fail "Quillet did not exit"
e2e_start_app MainCenter.exe
e2e_probe find OrvalixMainPanel_Class "Lumetra Center" >/dev/null || e2e_fail "no Lumetra Center window"
e2e_probe post OrvalixMainPanel_Class "Lumetra Center" 4024 25 0
e2e_wait 10 e2e_logged MainCenter 'kind=exit' || e2e_fail "4024/25 did not close MainCenter"
e2e_start_app MainPanel.exe
e2e_probe post OrvalixMainPanel_Class Mirvo 16 0 0
e2e_wait 10 e2e_logged MainPanel 'kind=close reason=WM_CLOSE' || e2e_fail "WM_CLOSE did not close MainPanel"

e2e_pass "stand-in application: windows, messages, keystrokes, closing"
