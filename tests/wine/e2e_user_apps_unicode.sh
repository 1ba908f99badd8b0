#!/bin/bash
# The key-map file as people save it: two stand-in players whose titles
# differ only in Cyrillic letters ("Плеер А", "Плеер Б"), each with a section
# of its own matched by its title. The file is saved as UTF-16 LE (Notepad's
# "Unicode"), then again as UTF-8 with a byte-order mark, with other
# commands: each player gets its own command from each of the two files.
#   e2e_user_apps_unicode.sh BUILD-DIR
# AF9015 stick, 32KEY layout: ok is KeyCode 18.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" user_apps_unicode 300
e2e_install
e2e_settings DBM=1 Default44keyIR=3 DefaultTVAPP=2 DefaultLaunchAp=0

# keymap FIRST SECOND: the two sections, the players' ok as WM_COMMAND FIRST
# and SECOND (UTF-8, LF line ends).
keymap() {
    cat <<EOF2
; Два плеера: their titles differ only in Cyrillic letters
[Плеер А]
Title = плеер а        ; letter case does not matter, in any script
ok = command $1
[Плеер Б]
Title = Плеер Б
ok = command $2
EOF2
}
keymap_file() { echo "$(e2e_appdata)/Remote Control/applications.ini"; }
save_as() {  # save_as utf16|utf8bom < UTF-8 text
    local file tmp
    file=$(keymap_file)
    tmp="$file.tmp"
    mkdir -p "$(dirname "$file")"
    if [ "$1" = utf16 ]; then
        { printf '\xff\xfe'; sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$tmp"
    else
        { printf '\xef\xbb\xbf'; sed 's/$/\r/'; } >"$tmp"
    fi
    mv -f "$tmp" "$file"
}

keymap 11 12 | save_as utf16
e2e_tuner plug af9015 >/dev/null
e2e_start_product
# \u escapes: the stand-in sets the titles through the wide call.
e2e_start_app player.exe --class PlayerA_Class --title '\u041F\u043B\u0435\u0435\u0440 \u0410'
e2e_start_app player.exe --class PlayerB_Class --title '\u041F\u043B\u0435\u0435\u0440 \u0411'

commands() { e2e_log_count player "kind=queue msg=273 wparam=$1 "; }
commands_above() { [ "$(commands "$1")" -gt "$2" ]; }
# press_to CLASS WPARAM: with that player in front, ok arrives as WM_COMMAND WPARAM.
press_to() {
    local before
    e2e_probe activate "$1" - || e2e_fail "could not bring $1 to the front"
    e2e_wait 15 eval "e2e_probe foreground | grep -q 'class=\"$1\"'" ||
        e2e_fail "$1 is not in front"
    before=$(commands "$2")
    e2e_tuner press ok >/dev/null
    e2e_wait 15 commands_above "$2" "$before" ||
        e2e_fail "ok with $1 in front did not arrive as WM_COMMAND $2"
}

press_to PlayerB_Class 12
press_to PlayerA_Class 11
[ "$(commands 11)" = 1 ] && [ "$(commands 12)" = 1 ] ||
    e2e_fail "from the UTF-16 file: $(commands 11) x WM_COMMAND 11, $(commands 12) x 12, not one each"
e2e_traced 'User applications read from .*applications.ini \(2\)' ||
    e2e_fail "the UTF-16 file did not give two applications"

keymap 21 22 | save_as utf8bom
sleep 1  # the next look at the file (every 500 ms at the latest) reads it
press_to PlayerB_Class 22
press_to PlayerA_Class 21
[ "$(commands 21)" = 1 ] && [ "$(commands 22)" = 1 ] ||
    e2e_fail "from the UTF-8 file: $(commands 21) x WM_COMMAND 21, $(commands 22) x 22, not one each"
[ "$(e2e_trace_count 'User applications read from .*applications.ini \(2\)')" -ge 2 ] ||
    e2e_fail "the UTF-8 file with a byte-order mark did not give two applications"
e2e_pass "UTF-16 LE and UTF-8 with a byte-order mark: each of two players titled in Cyrillic got its own command"
