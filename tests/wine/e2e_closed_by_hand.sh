#!/bin/bash
# A TV application closed by hand gives the remote back: Pallamo, found open
# by the window search, takes a button and is marked; the user then closes
# it from its own window, and the next button reaches the user's own player
# in front, through its section of applications.ini.
#   e2e_closed_by_hand.sh BUILD-DIR
# AF9015 stick, 32KEY layout: ok is KeyCode 18.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" closed_by_hand 240
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_user_file <<'EOF2'
[Player]
Exe = player.exe
ok = keys Ctrl+Shift+P
EOF2
e2e_tuner plug af9015 >/dev/null
e2e_start_product
e2e_start_app Quillet.exe
e2e_start_app player.exe

# Pallamo is open: it takes the button, even with the player in front.
front() { e2e_probe foreground | grep -q 'class="StandinPlayer_Class"'; }
e2e_probe activate StandinPlayer_Class - || true
e2e_wait 15 front || e2e_fail "the player is not in front"
e2e_tuner press ok >/dev/null
e2e_wait 15 e2e_logged Quillet 'kind=queue msg=3000 wparam=35005 ' ||
    e2e_fail "with Pallamo open, ok did not reach Pallamo"

# Closed by hand: its own window's close, not the remote's.
e2e_probe post TQuilletMainForm - 16 0 0 || e2e_fail "cannot close Pallamo"
e2e_probe waitgone TQuilletMainForm - 10000 || e2e_fail "Pallamo did not close"
e2e_probe activate StandinPlayer_Class - || true
e2e_wait 15 front || e2e_fail "the player is not in front"

chord() { e2e_chord player; }
e2e_tuner press ok >/dev/null
e2e_wait 15 eval '[ "$(chord)" = "17down1 16down1 80down1 80up1 16up1 17up1 " ]' ||
    e2e_fail "after Pallamo was closed by hand, ok reached the player as '$(chord)', not Ctrl+Shift+P"
e2e_pass "Pallamo closed by hand: the next button went to the player in front"
