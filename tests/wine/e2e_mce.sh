#!/bin/bash
# Media Center through the posted-key path: the power key launches
# c:\windows\ehome\ehshell.exe with "remote" when Media Center is the current
# application; digits arrive as posted WM_KEYDOWN messages (lParam 0x01500001,
# no WM_KEYUP, no keystroke); other buttons as chords; a second power press
# closes it with Alt+F4.
#   e2e_mce.sh BUILD-DIR
# IT9135 stick, 44KEY layout: power 12, KeyCode 0 is digit 1, KeyCode 23 Alt+Enter.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" mce 180
e2e_install
e2e_settings DBM=1 Default44keyIR=0 DefaultTVAPP=4 DefaultLaunchAp=0
e2e_tuner plug it9135 >/dev/null
e2e_start_product

e2e_tuner press 12 >/dev/null
e2e_wait 30 e2e_logged ehshell 'kind=ready' || e2e_fail "power did not launch Media Center"
e2e_logged ehshell 'kind=start args="remote" .*exe="[Cc]:\\windows\\ehome\\ehshell.exe"' ||
    e2e_fail "Media Center was not started as c:\\windows\\ehome\\ehshell.exe with \"remote\""

e2e_tuner press 0 >/dev/null
e2e_wait 15 e2e_logged ehshell 'kind=queue msg=256 wparam=97 lparam=0x01500001 ' ||
    e2e_fail "KeyCode 0 was not posted to Media Center as WM_KEYDOWN VK_NUMPAD1 (lParam 0x01500001)"
sleep 1
e2e_logged ehshell 'kind=key vk=97 ' && e2e_fail "the digit was typed as a keystroke, not posted"
e2e_logged ehshell 'kind=queue msg=257 wparam=97 ' && e2e_fail "a WM_KEYUP followed the posted digit"

e2e_tuner press 23 >/dev/null
chord() { e2e_chord ehshell; }
e2e_wait 15 eval '[ "$(chord)" = "18down1 13down1 13up1 18up1 " ]' ||
    e2e_fail "KeyCode 23 reached Media Center as '$(chord)', not Alt+Enter"

sleep 1
e2e_tuner press 12 >/dev/null
e2e_wait 15 e2e_logged ehshell 'kind=close reason=WM_CLOSE' ||
    e2e_fail "the second power press did not close Media Center"
# Alt is the left Alt key (the right one is AltGr on many layouts).
e2e_logged ehshell 'kind=key vk=18 dir=down .*injected=1 extended=0' ||
    e2e_fail "Alt was not sent as the left Alt key"
e2e_logged ehshell 'kind=key vk=18 .*extended=1' && e2e_fail "Alt was sent as the right Alt key"
e2e_logged ehshell 'kind=key vk=115 dir=down .*fg=1' || e2e_fail "Media Center was not closed with Alt+F4"
e2e_pass "Media Center: launched from ehome, posted digit, Alt+Enter, closed with Alt+F4"
