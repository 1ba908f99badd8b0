#!/bin/bash
# The on-screen display: with ShowButtons 1 and a stand-in player in front,
# a press shows the display (class "Remote Control OSD", a layered,
# transparent, non-activating, topmost tool window whose text is the line)
# while the player keeps the foreground and gets its key; a held button
# updates the one window in place; the line goes after about 1.5 s.
#   e2e_osd.sh BUILD-DIR
# AF9015 stick, 32KEY layout: ok is KeyCode 18, volup 14.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" osd 240
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_show_buttons
e2e_user_file <<'EOF'
[Player]
Exe = player.exe
ok = keys Ctrl+Shift+P
volup = appcommand VOLUME_UP
Repeat = volup
EOF
e2e_tuner plug af9015 >/dev/null
e2e_start_product
e2e_start_app player.exe
front() { e2e_probe foreground | grep -q 'class="StandinPlayer_Class"'; }
front || e2e_probe activate StandinPlayer_Class - || true
e2e_wait 15 front || e2e_fail "the player is not in front"

osd() { e2e_probe info "Remote Control OSD" -; }
e2e_tuner press ok >/dev/null
e2e_wait 15 eval 'osd | grep -q "visible=1"' || e2e_fail "ok showed no on-screen display"
info=$(osd)
e2e_log "display: $info"
# WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST
exstyle=$(sed 's/.*exstyle=\(0x[0-9a-f]*\).*/\1/' <<<"$info")
[ $((exstyle & 0x080800A8)) = $((0x080800A8)) ] || e2e_fail "the display's extended styles: $info"
grep -q 'text="OK → Player"' <<<"$info" || e2e_fail "the display shows $info, not \"OK → Player\""
front || e2e_fail "the display took the foreground: $(e2e_probe foreground)"
chord() { e2e_chord player; }
e2e_wait 15 eval '[ "$(chord)" = "17down1 16down1 80down1 80up1 16up1 17up1 " ]' ||
    e2e_fail "ok reached the player as '$(chord)', not Ctrl+Shift+P"

e2e_tuner hold volup 1000 >/dev/null
e2e_wait 10 eval 'osd | grep -q "text=\"Volume up → Player ×"' ||
    e2e_fail "a held volup did not update the display: $(osd)"
[ "$(e2e_probe list | grep -c 'class="Remote Control OSD"')" = 1 ] ||
    e2e_fail "more than one display window: $(e2e_probe list | grep OSD)"
front || e2e_fail "the display took the foreground while volup was held"
e2e_wait 10 eval 'osd | grep -q "visible=0"' || e2e_fail "the display did not go: $(osd)"
e2e_pass "the display showed \"OK → Player\" and a held volup in one window, the player kept the foreground and its keys"
