# shellcheck shell=bash
# Harness of the end-to-end scenarios under Wine (tests/wine/e2e_*.sh), the
# demo and the screenshots. Source it from bash after `set -euo pipefail`.
#
# A scenario runs RemoteControl.exe of a Windows build, with the virtual
# tuner stick and the stand-in TV applications, in a Wine prefix of its own
# (a copy of the build's template prefix) on a virtual X display of its own;
# every process runs inside one Wine virtual desktop with a taskbar, so that
# windows have captions and the tray icon shows. Everything it starts is
# ended, and its folder removed, when the script exits; its logs are kept in
# BUILD/e2e-logs/NAME.
#
#   e2e_init BUILD NAME [SECONDS]   prefix, display, desktop; the whole script is
#                                   stopped after SECONDS (default 240). With
#                                   E2E_SHOW set, the desktop shows on $DISPLAY
#                                   instead of a virtual display; E2E_DPI sets the
#                                   screen's DPI (default 96).
#   e2e_install                     RemoteControl.exe with the stand-in libraries,
#                                   and the six stand-in applications, installed
#                                   and registered where the program looks for them
#                                   (E2E_LIBS=cdecl: the libraries built with cdecl
#                                   entry points)
#   e2e_settings NAME=N...          DWORD settings of the program (DBM, Default44keyIR...)
#   e2e_user_file < TEXT            the user's applications.ini (%APPDATA%\Remote Control)
#   e2e_start_product               start RemoteControl.exe (trace on), wait for polling
#   e2e_start_app EXE [ARGS...]     start an installed stand-in (Quillet.exe...) and
#                                   wait for its window
#   e2e_tuner ARGS...               the virtual tuner's control (plug, press, hold...)
#   e2e_probe ARGS...               wprobe inside the desktop
#   e2e_traced PATTERN              the program wrote a matching trace line
#   e2e_tuner_called PATTERN        the stand-in libraries logged a matching call
#   e2e_wait SECONDS CMD...         run CMD until it succeeds, at most SECONDS
#   e2e_app_log NAME                path of a stand-in's log (NAME: Quillet, TotalMedia...)
#   e2e_fail TEXT                   report a failure with diagnostics and exit 1
#   e2e_pass TEXT                   report success and exit 0
#   e2e_screenshot FILE             PNG of the virtual desktop
#
# The Wine tests that report numbered checks (smoke_test.sh, e2e_installer.sh)
# source it for the helpers below. Sourcing it only sources scripts/lib.sh,
# sets variables and defines functions: no trap, shell option or process
# until e2e_init.

# ---------------------------------------------------------------------------
# Checks, programs in the prefix and processes

# pass TEXT, fail TEXT: the check's "ok" or "FAIL" line; fail counts it in
# the caller's $failures.
pass() { echo "ok   - $*"; }
fail() {
    echo "FAIL - $*"
    failures=$((failures + 1))
}
# expect WHAT ACTUAL WANTED: passes when ACTUAL is WANTED.
expect() {
    if [ "$2" = "$3" ]; then
        pass "$1"
    else
        fail "$1 (got '$2', wanted '$3')"
    fi
}

# in_wine SECONDS PROGRAM [ARGS...]: runs a program in the prefix, bounded in
# time; Wine's output goes to the caller's $log.
# shellcheck disable=SC2154
in_wine() { timeout -k 5 "$1" "$RC_WINE_LOADER" "${@:2}" </dev/null 2>>"$log"; }

# alive PID: true while the process runs (a finished child not yet waited for
# is a zombie).
alive() {
    local state
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}

# wait_end PID SECONDS: waits at most SECONDS for the process (a child of this
# shell) to end; gives its exit code, or 124 when it still runs.
wait_end() {
    local _
    for _ in $(seq $(($2 * 10))); do
        alive "$1" || break
        sleep 0.1
    done
    alive "$1" && return 124
    wait "$1"
}

# ---------------------------------------------------------------------------
# The scenarios' harness

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/lib.sh
. "$E2E_ROOT/scripts/lib.sh"

E2E_DESKTOP=rc
E2E_SIZE=${E2E_SIZE:-1024x768}
E2E_WORK=
E2E_XVFB_PID=
E2E_WATCHDOG_PID=

e2e_log() { printf '[e2e %s] %s\n' "${E2E_NAME:-?}" "$*" >&2; }

# Windows path of a file in the prefix's drive C.
e2e_winpath() { printf 'C:\\%s' "${1//\//\\}"; }

e2e_init() {
    local build=$1
    E2E_NAME=$2
    local seconds=${3:-240}
    E2E_BUILD=$(cd "$build" && pwd)
    rc_wine_env "$E2E_BUILD"
    export RC_WINE_LOADER
    E2E_EXE=$E2E_BUILD/RemoteControl.exe
    E2E_BIN=$E2E_BUILD/bin
    local f
    for f in "$E2E_EXE" "$E2E_BIN/standin.exe" "$E2E_BIN/wprobe.exe" "$E2E_BIN/af15bdaex.dll" \
        "$E2E_BIN/af9100ex.dll" "$E2E_BIN/RTL283XACCESS.dll"; do
        [ -f "$f" ] || rc_die "missing $f: build the Windows build first"
    done
    E2E_LOGS=$E2E_BUILD/e2e-logs/$E2E_NAME
    rm -rf "$E2E_LOGS"
    mkdir -p "$E2E_LOGS"

    trap e2e_cleanup EXIT
    trap 'e2e_log "interrupted"; exit 130' INT TERM HUP
    # A scenario always ends by itself, even if a wait below were unbounded.
    local me=$BASHPID
    (
        sleep "$seconds"
        echo "[e2e $E2E_NAME] time limit of $seconds s reached" >&2
        kill -TERM "$me" 2>/dev/null
    ) </dev/null >/dev/null 2>&1 &
    E2E_WATCHDOG_PID=$!

    rc_wine_template || rc_die "cannot make the template Wine prefix"
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/rc-e2e-$E2E_NAME.XXXXXX")
    export WINEPREFIX=$E2E_WORK/prefix
    cp -a "$RC_WINE_DIR/template" "$WINEPREFIX"
    export WPROBE_DESKTOP=$E2E_DESKTOP
    export WINEDEBUG=-all

    if [ -n "${E2E_SHOW:-}" ] && [ -n "${DISPLAY:-}" ]; then
        e2e_log "showing the Wine desktop on $DISPLAY"
    else
        e2e_xvfb_start
    fi
    setsid "$RC_WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    # The desktop shows a taskbar with the notification area; the screen has
    # E2E_DPI dots per inch (Wine reads it when its first program starts).
    local dpi
    dpi=$(printf '%08x' "${E2E_DPI:-96}")
    e2e_reg_import "desktop" <<EOF
[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\$E2E_DESKTOP]
"EnableShell"=dword:00000001

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$dpi

[HKEY_CURRENT_CONFIG\\Software\\Fonts]
"LogPixels"=dword:$dpi
EOF
    # A hidden window keeps the desktop up for the whole scenario.
    e2e_in_desktop keeper "$(e2e_stage_tool wprobe.exe)" idle $((seconds * 1000))
    e2e_wait 60 e2e_probe list >/dev/null || e2e_fail "the Wine desktop did not come up"
    e2e_log "prefix $WINEPREFIX, display $DISPLAY, desktop $E2E_DESKTOP ($E2E_SIZE)"
}

RC_WINESERVER=${RC_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

e2e_xvfb_start() {
    local fdfile=$E2E_WORK/display
    Xvfb -displayfd 5 -screen 0 "${E2E_SIZE}x24" -nolisten tcp 5>"$fdfile" </dev/null \
        >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local _
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$fdfile" ] || rc_die "Xvfb did not start"
    DISPLAY=":$(head -n1 "$fdfile")"
    export DISPLAY
}

e2e_cleanup() {
    local status=$?
    set +e
    trap - EXIT INT TERM HUP
    if [ -n "$E2E_WORK" ] && [ -d "$E2E_WORK" ]; then
        e2e_collect_logs
        timeout 60 "$RC_WINESERVER" -k </dev/null >/dev/null 2>&1
        timeout 60 "$RC_WINESERVER" -w </dev/null >/dev/null 2>&1
    fi
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    if [ -n "$E2E_WATCHDOG_PID" ]; then
        local sleeper
        sleeper=$(pgrep -P "$E2E_WATCHDOG_PID" 2>/dev/null)
        kill "$E2E_WATCHDOG_PID" $sleeper 2>/dev/null
    fi
    wait 2>/dev/null
    [ -n "$E2E_WORK" ] && rm -rf "$E2E_WORK"
    exit "$status"
}

e2e_collect_logs() {
    local d=$E2E_LOGS
    cp "$E2E_WORK"/*.out "$E2E_WORK"/*.err "$d/" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] || return 0
    cp "$WINEPREFIX"/drive_c/standin_logs/*.log "$d/" 2>/dev/null
    cp "$WINEPREFIX"/drive_c/virtual_tuner/calls.log "$d/tuner_calls.log" 2>/dev/null
    return 0
}

# Runs the Wine loader with no standard streams of ours (Wine's helper
# processes would otherwise keep a caller's pipe open).
e2e_wine() { "$RC_WINE_LOADER" "$@" </dev/null; }

# e2e_in_desktop NAME PROGRAM [ARGS...]: starts PROGRAM (a Windows path) in
# the scenario's desktop, in the background; output in NAME.out/.err.
e2e_in_desktop() {
    local name=$1
    shift
    "$RC_WINE_LOADER" explorer "/desktop=$E2E_DESKTOP,$E2E_SIZE" "$@" </dev/null \
        >>"$E2E_WORK/$name.out" 2>>"$E2E_WORK/$name.err" &
}

# Copies a tool of the build into the prefix once; prints its Windows path.
e2e_stage_tool() {
    local dir=$WINEPREFIX/drive_c/rc_tools
    mkdir -p "$dir"
    [ -f "$dir/$1" ] || cp "$E2E_BIN/$1" "$dir/$1"
    e2e_winpath "rc_tools/$1"
}

e2e_probe() {
    local exe
    exe=$(e2e_stage_tool wprobe.exe)
    WINEDEBUG=-all timeout 30 "$RC_WINE_LOADER" "$exe" "$@" </dev/null 2>/dev/null
}

e2e_tuner() { "$E2E_ROOT/tools/virtual_tuner/tuner" "$@"; }

# e2e_reg_import NAME < lines: imports registry lines (REGEDIT4 syntax, without
# the header) into the program's registry view.
e2e_reg_import() {
    local dir=$WINEPREFIX/drive_c/e2e
    mkdir -p "$dir"
    {
        printf 'REGEDIT4\r\n\r\n'
        sed 's/$/\r/'
    } >"$dir/$1.reg"
    local view=()
    [ "$RC_WINEARCH" = win64 ] && view=(/reg:64)
    e2e_wine reg import "$(e2e_winpath "e2e/$1.reg")" "${view[@]}" >/dev/null 2>&1 ||
        rc_die "registry import $1 failed"
}

# Where each stand-in is installed, and the registry value that tells the
# program so: exe|folder under C:\|key|value
E2E_APPS=(
    "PowerCinema.exe|Program Files/CyberLink/PowerCinema|SOFTWARE\\CyberLink\\PowerCinema|InstallPath"
    "Quillet.exe|Program Files/Orvalix Multimedia/Nurvel|SOFTWARE\\Orvalix Multimedia\\Nurvel|AppPath"
    "TotalMedia.exe|Program Files/ArcSoft/TotalMedia|SOFTWARE\\ArcSoft\\TotalMedia\\3.0|AppPath"
    "MainPanel.exe|Program Files/Orvalix Multimedia/Corvane|SOFTWARE\\Orvalix Multimedia\\Corvane\\Sorvane|AppPath"
    "MainCenter.exe|Program Files/Orvalix Multimedia/Halvex|SOFTWARE\\Orvalix Multimedia\\Halvex\\Sorvane|AppPath"
    # A player of the user's own: known to the program only by applications.ini.
    "player.exe|Program Files/Player||"
)
E2E_PRODUCT_DIR="Program Files/Remote Control"

e2e_install() {
    local c=$WINEPREFIX/drive_c libs=$E2E_BIN
    [ "${E2E_LIBS:-}" = cdecl ] && libs=$E2E_BIN/cdecl
    mkdir -p "$c/$E2E_PRODUCT_DIR"
    cp "$E2E_EXE" "$libs/af15bdaex.dll" "$libs/af9100ex.dll" "$libs/RTL283XACCESS.dll" \
        "$c/$E2E_PRODUCT_DIR/" || rc_die "missing stand-in libraries in $libs"
    local entry exe dir key value lines=""
    for entry in "${E2E_APPS[@]}"; do
        IFS='|' read -r exe dir key value <<<"$entry"
        mkdir -p "$c/$dir"
        cp "$E2E_BIN/standin.exe" "$c/$dir/$exe"
        [ -n "$key" ] || continue
        local win
        win=$(e2e_winpath "$dir")
        lines+="[HKEY_LOCAL_MACHINE\\$key]"$'\n'"\"$value\"=\"${win//\\/\\\\}\""$'\n\n'
    done
    # Media Center: its shell, and the keys of its presence test.
    mkdir -p "$c/windows/ehome"
    cp "$E2E_BIN/standin.exe" "$c/windows/ehome/ehshell.exe"
    lines+='[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Applications\ehshell.exe\shell\open\command]'$'\n'
    lines+='@="C:\\windows\\ehome\\ehshell.exe"'$'\n\n'
    lines+='[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Media Center]'$'\n'
    lines+='"Ident"="5.0"'$'\n'
    e2e_reg_import apps <<<"$lines"
}

# The user's folder %APPDATA% in the prefix (a Linux path).
e2e_appdata() {
    local d
    for d in "$WINEPREFIX"/drive_c/users/*/AppData/Roaming; do
        [[ "$d" == */users/Public/* ]] || {
            echo "$d"
            return 0
        }
    done
    rc_die "no AppData folder in $WINEPREFIX"
}

# e2e_user_file < text: the user's %APPDATA%\Remote Control\applications.ini
# (written in one step, with CRLF line ends).
e2e_user_file() {
    local dir
    dir="$(e2e_appdata)/Remote Control"
    mkdir -p "$dir"
    sed 's/$/\r/' >"$dir/applications.ini.tmp"
    mv -f "$dir/applications.ini.tmp" "$dir/applications.ini"
}

# e2e_settings NAME=N...: the program's settings, as DWORDs.
e2e_settings() {
    local lines='[HKEY_LOCAL_MACHINE\SOFTWARE\Orvalix Multimedia\Calderin]'$'\n' kv
    for kv in "$@"; do
        lines+=$(printf '"%s"=dword:%08x' "${kv%%=*}" "${kv#*=}")$'\n'
    done
    e2e_reg_import settings <<<"$lines"
}

# e2e_show_buttons: the user's option ShowButtons 1 (the on-screen display).
e2e_show_buttons() {
    e2e_reg_import show_buttons <<'EOF'
[HKEY_CURRENT_USER\Software\Orvalix Multimedia\Remote Control]
"ShowButtons"=dword:00000001
EOF
}

# With E2E_SHOW_BUTTONS=1 a scenario runs with the on-screen display on, and
# passes only if the display showed (its window exists at the end).
E2E_TRACE=
e2e_start_product() {
    [ "${E2E_SHOW_BUTTONS:-0}" = 1 ] && e2e_show_buttons
    E2E_TRACE=$E2E_WORK/product.err
    WINEDEBUG=-all,warn+debugstr e2e_in_desktop product \
        "$(e2e_winpath "$E2E_PRODUCT_DIR/RemoteControl.exe")"
    e2e_wait 60 e2e_traced 'StartGPIOTimer|StartChkUSBTimer' ||
        e2e_fail "RemoteControl.exe did not start (no StartGPIOTimer or StartChkUSBTimer trace)"
}

# e2e_traced PATTERN: the program has written a trace line matching PATTERN
# (an extended regular expression on the text after the prefix).
e2e_traced() {
    [ -n "$E2E_TRACE" ] && grep -Eq "OutputDebugStringA \"<Remote Control>  ($1)" "$E2E_TRACE" 2>/dev/null
}

e2e_trace_count() {
    local n
    n=$(grep -Ec "OutputDebugStringA \"<Remote Control>  ($1)" "$E2E_TRACE" 2>/dev/null) || true
    echo "${n:-0}"
}

# e2e_tuner_called PATTERN: the stand-in libraries logged a call matching
# PATTERN (for example "af15_init -> 1").
e2e_tuner_called() { grep -Eq "$1" "$WINEPREFIX/drive_c/virtual_tuner/calls.log" 2>/dev/null; }
e2e_tuner_count() {
    local n
    n=$(grep -Ec "$1" "$WINEPREFIX/drive_c/virtual_tuner/calls.log" 2>/dev/null) || true
    echo "${n:-0}"
}

e2e_app_log() { echo "$WINEPREFIX/drive_c/standin_logs/$1.log"; }

# e2e_logged NAME PATTERN: the stand-in's log has a line matching PATTERN.
# The keystrokes injected into a stand-in, in order: "VKdirFG " for each
# (18down1: Alt down while the stand-in was in front).
e2e_chord() {
    grep 'kind=key .*injected=1' "$(e2e_app_log "$1")" 2>/dev/null |
        sed -n 's/.* vk=\([0-9]*\) dir=\([a-z]*\).* fg=\([01]\).*/\1\2\3/p' | tr '\n' ' '
}
e2e_logged() { grep -Eq "$2" "$(e2e_app_log "$1")" 2>/dev/null; }
e2e_log_count() {
    local n
    n=$(grep -Ec "$2" "$(e2e_app_log "$1")" 2>/dev/null) || true
    echo "${n:-0}"
}

# e2e_start_app EXE [ARGS...]: starts an installed stand-in and waits for its
# start line in its log.
e2e_start_app() {
    local exe=$1 entry e d
    shift
    local path=
    for entry in "${E2E_APPS[@]}"; do
        IFS='|' read -r e d _ <<<"$entry"
        [ "$e" = "$exe" ] && path=$(e2e_winpath "$d/$e")
    done
    [ -n "$path" ] || rc_die "unknown stand-in $exe"
    local name=${exe%.exe} before
    before=$(e2e_log_count "$name" 'kind=ready')
    e2e_in_desktop "app-$name" "$path" "$@"
    e2e_wait 60 e2e_count_above "$name" 'kind=ready' "$before" || e2e_fail "$exe did not start"
}

# e2e_count_above NAME PATTERN N: the stand-in's log has more than N matching lines.
e2e_count_above() { [ "$(e2e_log_count "$1" "$2")" -gt "$3" ]; }

# e2e_wait SECONDS CMD...: runs CMD until it succeeds, at most SECONDS.
e2e_wait() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    while :; do
        if "$@"; then
            return 0
        fi
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

e2e_screenshot() {
    local crop=(-crop "${E2E_SIZE}+0+0" +repage)
    # On a person's own display the desktop is a window somewhere on the screen.
    [ -n "${E2E_SHOW:-}" ] && crop=()
    /usr/bin/import -display "$DISPLAY" -window root "${crop[@]}" "$1" 2>/dev/null
}

e2e_fail() {
    e2e_log "FAIL: $*"
    {
        echo "=== windows of the desktop"
        e2e_probe list 2>/dev/null | grep -v 'visible=0' || true
        if [ -n "$E2E_TRACE" ] && [ -f "$E2E_TRACE" ]; then
            echo "=== last trace lines of RemoteControl.exe"
            grep -a 'OutputDebugStringA' "$E2E_TRACE" | grep -av '<Remote Control>   "$' |
                sed 's/.*OutputDebugStringA "<Remote Control>  //; s/"$//' | tail -n 40
        fi
        local f
        for f in "$WINEPREFIX"/drive_c/standin_logs/*.log; do
            [ -f "$f" ] || continue
            echo "=== $(basename "$f") (last lines)"
            tail -n 20 "$f" | tr -d '\r'
        done
        echo "=== virtual tuner calls (last lines)"
        tail -n 20 "$WINEPREFIX/drive_c/virtual_tuner/calls.log" 2>/dev/null | tr -d '\r'
    } >&2
    e2e_screenshot "$E2E_LOGS/failure.png" || true
    e2e_log "logs and a screenshot are in $E2E_LOGS"
    exit 1
}

e2e_pass() {
    if [ "${E2E_SHOW_BUTTONS:-0}" = 1 ]; then
        e2e_probe find "Remote Control OSD" - >/dev/null ||
            e2e_fail "ShowButtons 1, but the on-screen display never showed"
        e2e_log "the on-screen display was on"
    fi
    e2e_log "PASS: $*"
    exit 0
}
