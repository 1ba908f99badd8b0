#!/bin/bash
# The build's installer (RemoteControl-<version>-setup.exe, which holds the
# build's RemoteControl.exe) under Wine, one case per run, each in a fresh
# copy of the build's template prefix on a virtual display of its own:
#   install    a silent install (/S) puts the files, the Start-menu shortcut,
#              the Run value, the Programs and Features entry and the settings
#              defaults in place, and writes no user's profile
#   settings   a settings key that already existed keeps its values, whatever
#              their type, and gains only the missing ones; so does a user's
#              own key-map file
#   logon      a logon (wineboot runs the Run values) starts the program from
#              the Run value's command line; it makes the user's key maps
#              from the installed example
#   upgrade    a silent install over a running copy, and over a second copy
#              on another Wine desktop (another session, whose window the
#              installer's FindWindow does not see), ends both (the first with
#              code 0, as its Exit does), replaces the file and starts the
#              program again in the installer's session
#   uninstall  a silent uninstall with the program running there and on
#              another desktop ends both and leaves no file, shortcut, Run
#              value or uninstall entry; the settings key stays
#   held       RemoteControl.exe held open by a process the installer does
#              not end: the silent upgrade ends with code 3010 and leaves the
#              new program beside the old one, to be put in place at the next
#              restart; the silent uninstall has the file and its folder
#              removed at the next restart
# The case stops by itself within its time limit; Wine's output stays in
# BUILD/e2e-logs/installer_CASE.
#   e2e_installer.sh BUILD-DIR CASE
set -u -o pipefail
build=$(cd "$1" && pwd)
case_name=$2
. "$(dirname "$0")/e2e_lib.sh"
rc_wine_env "$build"

name=installer_$case_name
logs=$build/e2e-logs/$name
rm -rf "$logs"
mkdir -p "$logs"
log=$logs/wine.log
: >"$log"
display_state=$RC_WINE_DIR/$name.display
version=$(sed -n 's/^#define RC_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/version.h")
setup=$build/RemoteControl-$version-setup.exe
[ -f "$setup" ] || rc_die "no installer $setup: install nsis (makensis) and build the installer target"

dir='C:\Program Files\Remote Control'
exe="$dir\\RemoteControl.exe"
class='Remote Control'
settings_key='HKLM\SOFTWARE\Orvalix Multimedia\Calderin'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Remote Control'
example=$RC_SOURCE_DIR/resources/applications.ini
failures=0
app_pid=
watchdog=

check() { # check WHAT COMMAND...
    if "${@:2}"; then pass "$1"; else fail "$1"; fi
}

crlf_only() { # crlf_only FILE: every line of FILE ends with CR LF
    ! grep -qv $'\r$' "$1"
}

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    rc_wine_stop
    rc_xvfb_stop "$display_state"
    if [ -n "$watchdog" ]; then
        local sleeper
        sleeper=$(pgrep -P "$watchdog")
        kill "$watchdog" $sleeper 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'echo "interrupted (or out of time)"; exit 1' INT TERM HUP
# The whole case ends within 240 s, even if a wait below hung.
(sleep 240 && kill -TERM $$) </dev/null >/dev/null 2>&1 &
watchdog=$!

tool() { in_wine 60 "$build/wintool.exe" "$@" | tr -d '\r'; }
# unix PATH-UNDER-C: the file of a C: path in the prefix.
unix() { local p=${1#C:\\}; printf '%s/drive_c/%s' "$WINEPREFIX" "${p//\\//}"; }
# reg_value KEY NAME: "TYPE DATA" of the value, empty when it is missing.
reg_value() {
    in_wine 60 reg query "$1" /v "$2" | tr -d '\r' |
        awk -v n="$2" 'index($0, "    " n "    ") == 1 { sub("^    " n "    ", ""); sub("    ", " "); print }'
}
reg_count() { in_wine 60 reg query "$1" | tr -d '\r' | grep -c '    REG_'; }
has_key() { in_wine 60 reg query "$1" >/dev/null 2>&1; }
no_key() { ! has_key "$1"; }

install() { in_wine 120 "$setup" /S >>"$log"; }
start_program() {
    timeout -k 5 200 "$RC_WINE_LOADER" "$exe" </dev/null >>"$log" 2>&1 &
    app_pid=$!
    tool wait "$class" 60000 >/dev/null && tool sync "$class" 60000 >/dev/null
}
settings_are() { # settings_are NAME=TYPE DATA... : the key holds exactly these
    local kv
    for kv in "$@"; do
        expect "setting ${kv%%=*}" "$(reg_value "$settings_key" "${kv%%=*}")" "${kv#*=}"
    done
    expect "no other setting" "$(reg_count "$settings_key")" $#
}
# A process of this prefix runs the Run value's command line.
started_from_run_value() {
    local pid
    for pid in $(pgrep -f 'RemoteControl\.exe'); do
        grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null || continue
        [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" | head -n1)" = "$exe" ] && return 0
    done
    return 1
}
# The Wine processes of this prefix that run RemoteControl.exe (on any desktop).
program_pids() {
    local pid
    for pid in $(pgrep -f 'RemoteControl\.exe'); do
        grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null || continue
        tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n1 | grep -qi 'RemoteControl\.exe$' &&
            echo "$pid"
    done
}
copies_are() { test "$(program_pids | wc -l)" = "$1"; }
# A copy on a Wine desktop of its own: another session for the installer.
start_other_copy() {
    "$RC_WINE_LOADER" explorer /desktop=other,800x600 "$exe" </dev/null >>"$log" 2>&1 &
    e2e_wait 60 copies_are 2
}
# The renames and deletions Windows does at the next restart.
pending_renames() {
    in_wine 60 reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
        /v PendingFileRenameOperations | tr -d '\r'
}
appdata() { printf '%s/drive_c/users/%s/AppData/Roaming/Remote Control' "$WINEPREFIX" "$USER"; }
shortcut() { printf '%s/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Remote Control.lnk' "$WINEPREFIX"; }

USER=${USER:-$(id -un)}
rc_wine_prefix "$name" fresh || rc_die "cannot make the Wine prefix"
rc_xvfb_start "$display_state" || rc_die "no virtual display"
rc_wine_start

case $case_name in
install)
    install
    expect "the silent install ends with code 0" $? 0
    check "RemoteControl.exe is the build's" cmp -s "$(unix "$exe")" "$build/RemoteControl.exe"
    for f in uninstall.exe LICENSE.txt README.txt; do
        check "$f is installed" test -s "$(unix "$dir\\$f")"
    done
    check "README.txt is the user's guide" cmp -s "$(unix "$dir\\README.txt")" "$RC_SOURCE_DIR/resources/README.txt"
    check "README.txt has Windows line ends" crlf_only "$(unix "$dir\\README.txt")"
    check "the Start-menu shortcut exists" test -s "$(shortcut)"
    if [ -f "$example" ]; then
        check "the example key maps are installed" cmp -s "$(unix "$dir\\applications.example.ini")" "$example"
        check "the installer writes no user's key maps" test ! -e "$(appdata)"
    fi
    expect "Run value" "$(reg_value "$run_key" "Remote Control")" "REG_SZ \"$exe\""
    expect "uninstall DisplayName" "$(reg_value "$uninstall_key" DisplayName)" "REG_SZ Remote Control"
    expect "uninstall DisplayVersion" "$(reg_value "$uninstall_key" DisplayVersion)" "REG_SZ $version"
    expect "uninstall Publisher" "$(reg_value "$uninstall_key" Publisher)" "REG_SZ Orvalix Multimedia"
    expect "uninstall DisplayIcon" "$(reg_value "$uninstall_key" DisplayIcon)" "REG_SZ $exe,0"
    expect "uninstall UninstallString" "$(reg_value "$uninstall_key" UninstallString)" \
        "REG_SZ \"$dir\\uninstall.exe\""
    expect "uninstall QuietUninstallString" "$(reg_value "$uninstall_key" QuietUninstallString)" \
        "REG_SZ \"$dir\\uninstall.exe\" /S"
    expect "uninstall NoModify" "$(reg_value "$uninstall_key" NoModify)" "REG_DWORD 0x1"
    expect "uninstall NoRepair" "$(reg_value "$uninstall_key" NoRepair)" "REG_DWORD 0x1"
    size=$(reg_value "$uninstall_key" EstimatedSize)
    check "uninstall EstimatedSize in KB ($size)" test $((${size#REG_DWORD } * 1024)) -ge \
        "$(stat -c %s "$build/RemoteControl.exe")"
    settings_are DefaultTVAPP="REG_DWORD 0x9" AlwaysRemoteOff="REG_DWORD 0x0" \
        Default44keyIR="REG_DWORD 0x0" DefaultLaunchAp="REG_DWORD 0x0"
    ;;
settings)
    in_wine 60 reg add "$settings_key" /v DefaultTVAPP /t REG_DWORD /d 5 /f >/dev/null
    in_wine 60 reg add "$settings_key" /v Default44keyIR /t REG_DWORD /d 4 /f >/dev/null
    in_wine 60 reg add "$settings_key" /v DBM /t REG_DWORD /d 1 /f >/dev/null
    in_wine 60 reg add "$settings_key" /v DefaultLaunchAp /t REG_SZ /d 1 /f >/dev/null
    mkdir -p "$(appdata)"
    printf '; my own key maps\r\n' >"$(appdata)/applications.ini"
    install
    expect "the silent install ends with code 0" $? 0
    settings_are DefaultTVAPP="REG_DWORD 0x5" Default44keyIR="REG_DWORD 0x4" DBM="REG_DWORD 0x1" \
        DefaultLaunchAp="REG_SZ 1" AlwaysRemoteOff="REG_DWORD 0x0"
    expect "the user's key maps are kept" "$(cat "$(appdata)/applications.ini")" $'; my own key maps\r'
    ;;
logon)
    install
    expect "the silent install ends with code 0" $? 0
    check "no program runs before the logon" test "$(tool count "$class")" = 0
    in_wine 60 wineboot >>"$log"
    check "the logon starts a window of class \"$class\"" tool wait "$class" 60000
    check "its message loop runs" tool sync "$class" 60000
    check "it runs the Run value's command line" started_from_run_value
    if [ -f "$example" ]; then
        check "it makes the user's key maps from the example" \
            e2e_wait 30 cmp -s "$(appdata)/applications.ini" "$example"
    fi
    tool post "$class" 0x111 1201 0 >/dev/null
    check "Exit ends it" tool gone "$class" 30000
    ;;
upgrade)
    install
    expect "the first install ends with code 0" $? 0
    # The installed file differs from the build's until the upgrade replaces it.
    printf 'older' >>"$(unix "$exe")"
    check "the program runs" start_program
    check "a second copy runs on another desktop" start_other_copy
    old_pids=$(program_pids | tr '\n' ' ')
    install
    expect "the silent upgrade ends with code 0" $? 0
    wait_end "$app_pid" 30
    expect "the running copy ended with code 0" $? 0
    app_pid=
    for pid in $old_pids; do
        check "no copy of the old program is left (process $pid)" e2e_wait 10 eval "! alive $pid"
    done
    check "RemoteControl.exe is replaced by the build's" cmp -s "$(unix "$exe")" "$build/RemoteControl.exe"
    check "the program runs again in the installer's session" tool wait "$class" 60000
    check "one copy runs" e2e_wait 30 copies_are 1
    tool post "$class" 0x111 1201 0 >/dev/null
    check "Exit ends it" tool gone "$class" 30000
    ;;
uninstall)
    install
    expect "the silent install ends with code 0" $? 0
    check "the program runs" start_program
    check "a second copy runs on another desktop" start_other_copy
    # The uninstaller copies itself away and returns at once; the copy works on.
    in_wine 60 "$dir\\uninstall.exe" /S >>"$log"
    expect "the silent uninstall starts with code 0" $? 0
    wait_end "$app_pid" 30
    expect "the running copy ended with code 0" $? 0
    app_pid=
    check "no copy of the program is left" e2e_wait 30 copies_are 0
    expect "no window is left" "$(tool count "$class")" 0
    check "the folder is gone" e2e_wait 30 test ! -e "$(unix "$dir")"
    check "the uninstall entry is gone" e2e_wait 30 no_key "$uninstall_key"
    check "the Run value is gone" test -z "$(reg_value "$run_key" "Remote Control")"
    check "the Start-menu shortcut is gone" test ! -e "$(shortcut)"
    settings_are DefaultTVAPP="REG_DWORD 0x9" AlwaysRemoteOff="REG_DWORD 0x0" \
        Default44keyIR="REG_DWORD 0x0" DefaultLaunchAp="REG_DWORD 0x0"
    ;;
held)
    install
    expect "the silent install ends with code 0" $? 0
    printf 'older' >>"$(unix "$exe")"
    holder_out=$logs/holder.out
    timeout -k 5 200 "$RC_WINE_LOADER" "$build/wintool.exe" hold "$exe" 150000 </dev/null \
        >"$holder_out" 2>>"$log" &
    check "another process holds RemoteControl.exe" e2e_wait 60 grep -q held "$holder_out"
    install
    # A Linux exit status holds the low byte of the Windows code: 3010 & 255.
    expect "the silent upgrade ends with code 3010" $? $((3010 & 255))
    check "the new program waits beside the old one" \
        cmp -s "$(unix "$exe.new")" "$build/RemoteControl.exe"
    check "the old one stays until the restart" test "$(tail -c 5 "$(unix "$exe")")" = older
    # reg shows the list's strings joined by \0; a deletion has an empty target.
    check "the restart puts the new one in place" \
        eval 'pending_renames | grep -qF "$exe.new\\0!\\??\\$exe"'
    expect "the uninstall entry names the new version" \
        "$(reg_value "$uninstall_key" DisplayVersion)" "REG_SZ $version"
    in_wine 60 "$dir\\uninstall.exe" /S >>"$log"
    check "the uninstall entry is gone" e2e_wait 30 no_key "$uninstall_key"
    check "the other files are gone" e2e_wait 30 test ! -e "$(unix "$dir\\uninstall.exe")"
    check "the restart removes the program" eval 'pending_renames | grep -qF "$exe\\0\\0"'
    check "and then its folder" eval 'pending_renames | grep -qF "$dir\\\\0"'
    ;;
*)
    rc_die "unknown case $case_name"
    ;;
esac

if [ "$failures" -ne 0 ]; then
    cp "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" "$logs/" 2>/dev/null
    echo "$failures check(s) failed; Wine's output is in $log"
    exit 1
fi
cleanup
trap - EXIT
rm -rf "$WINEPREFIX"
echo "all checks passed"
