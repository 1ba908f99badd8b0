#!/bin/bash
# The user's own application: a stand-in player in front, with a section of
# its own in %APPDATA%\Remote Control\applications.ini. A button arrives as a
# keystroke chord, another as WM_APPCOMMAND; a held volup, listed under
# Repeat, acts at the press, waits the repeat delay (400 ms), then acts on
# every frame; with a built-in application open (Pallamo), the button goes
# to that application instead.
#   e2e_user_apps.sh BUILD-DIR
# AF9015 stick, 32KEY layout: ok is KeyCode 18, volup 14.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" user_apps 240
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_user_file <<'EOF'
; Remote Control's applications (a bad line among good ones is skipped)
[Player]
Exe = player.exe            ; the stand-in player
ok = keys Ctrl+Shift+P
volup = appcommand VOLUME_UP
vollup = keys Up
Repeat = volup
EOF
e2e_tuner plug af9015 >/dev/null
e2e_start_product
e2e_start_app player.exe
front() { e2e_probe foreground | grep -q 'class="StandinPlayer_Class"'; }
front || e2e_probe activate StandinPlayer_Class - || true
e2e_wait 15 front || e2e_fail "the player is not in front"

chord() { e2e_chord player; }
e2e_tuner press ok >/dev/null
e2e_wait 15 eval '[ "$(chord)" = "17down1 16down1 80down1 80up1 16up1 17up1 " ]' ||
    e2e_fail "ok reached the player as '$(chord)', not Ctrl+Shift+P"
e2e_traced 'applications.ini \[Player\] ..vollup=keys Up..: skipped, unknown button' ||
    e2e_fail "the bad line was not traced"

appcommands() { e2e_log_count player 'kind=queue msg=793 .*lparam=0x000A0000 '; }
e2e_tuner press volup >/dev/null
e2e_wait 15 eval '[ "$(appcommands)" = 1 ]' ||
    e2e_fail "volup did not reach the player as one WM_APPCOMMAND VOLUME_UP"

sleep 1
frames_before=$(e2e_trace_count 'bRepeatKey')
e2e_tuner hold volup 1500 >/dev/null
sleep 3
held=$(($(appcommands) - 1))
frames=$(($(e2e_trace_count 'bRepeatKey') - frames_before))
[ "$held" -ge 5 ] ||
    e2e_fail "holding volup for 1.5 s gave $held WM_APPCOMMANDs, not one per frame after the delay"
# The frames of the first 400 ms wait (a busy machine may break the hold
# into several presses, so the counts are not compared).
e2e_traced 'Press: volup: Player repeats a held button after 400 ms \(held\)' ||
    e2e_fail "no frame of the hold waited out the repeat delay"

# Pallamo open: it comes first, even with the player in front.
e2e_start_app Quillet.exe
e2e_probe activate StandinPlayer_Class - || e2e_fail "could not bring the player to the front"
e2e_wait 15 front || e2e_fail "the player is not in front"
keys_before=$(e2e_log_count player 'kind=key .*injected=1')
e2e_tuner press ok >/dev/null
e2e_wait 15 e2e_logged Quillet 'kind=queue msg=3000 wparam=35005 ' ||
    e2e_fail "with Pallamo open, ok did not reach Pallamo"
sleep 1
[ "$(e2e_log_count player 'kind=key .*injected=1')" = "$keys_before" ] ||
    e2e_fail "with Pallamo open, ok still reached the player"
e2e_pass "the player: Ctrl+Shift+P, WM_APPCOMMAND, $held repeats of a held volup after its delay" \
    "($frames repeat frames); Pallamo first when open"
