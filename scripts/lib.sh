# Shared shell functions of scripts/run, scripts/test and the Wine tests:
# machine setup, the builds, Wine prefixes, the virtual X display.
# Source it from bash; it sets no shell options of its own.

RC_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RC_BUILD=${RC_BUILD:-$RC_ROOT/build}
RC_JOBS=${RC_JOBS:-2}

rc_log() { printf '[rc] %s\n' "$*" >&2; }
rc_die() {
    rc_log "error: $*"
    exit 1
}

# ---------------------------------------------------------------------------
# Machine setup (Debian 12)

# What the builds and tests need. The 32-bit Wine loader (wine32:i386) runs
# the 32-bit program; nsis makes the installer, zip the release archive.
RC_PACKAGES=(g++-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386 wine64 xvfb xauth
    googletest libgtest-dev libgmock-dev cmake make g++ imagemagick clang-format gnuplot-nox
    nsis zip)
# On machines that cannot run 32-bit programs, the Windows tests run a 64-bit
# build of the same sources under 64-bit Wine.
RC_PACKAGES_64=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)

rc_as_root() {
    if [ "$(id -u)" = 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        rc_die "need root (or sudo) to run: $*"
    fi
}

# Prints the packages of the arguments that are not installed.
rc_missing_packages() {
    local p
    for p in "$@"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
            echo "$p"
        fi
    done
}

rc_install_packages() {
    local missing
    mapfile -t missing < <(rc_missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    rc_log "installing: ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] &&
        ! dpkg --print-foreign-architectures | grep -qx i386; then
        rc_as_root dpkg --add-architecture i386 || return 1
    fi
    rc_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
    rc_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" || return 1
}

# True when this machine runs the 32-bit Wine loader (a kernel without 32-bit
# support refuses it with "Exec format error").
rc_can_run_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Installs what is missing and chooses the Windows build that runs under Wine
# here: RC_WINE_BUILD is build/windows (32-bit) or build/windows64.
rc_setup() {
    rc_install_packages "${RC_PACKAGES[@]}" || rc_die "package installation failed"
    if rc_can_run_32bit; then
        RC_WINE_BUILD=$RC_BUILD/windows
    else
        rc_log "this machine cannot run 32-bit programs: under Wine it runs a 64-bit build" \
            "of the same sources (build/windows64)"
        rc_install_packages "${RC_PACKAGES_64[@]}" || rc_die "package installation failed"
        RC_WINE_BUILD=$RC_BUILD/windows64
    fi
}

# ---------------------------------------------------------------------------
# Builds

# The build types the scripts use: the Windows builds are the optimised
# program that is shipped, and tested; the host build runs the unit tests
# under the sanitizers, unoptimised.
RC_HOST_BUILD_TYPE=Debug
RC_WINDOWS_BUILD_TYPE=Release

# rc_build DIR TOOLCHAIN-FILE-OR-EMPTY [TARGET...]: configures DIR once (and
# again when it was configured with another build type), then builds the
# targets (all when none).
rc_build() {
    local dir=$1 toolchain=$2 type=$RC_HOST_BUILD_TYPE
    shift 2
    [ -n "$toolchain" ] && type=$RC_WINDOWS_BUILD_TYPE
    if ! grep -qx "CMAKE_BUILD_TYPE:STRING=$type" "$dir/CMakeCache.txt" 2>/dev/null; then
        local args=(-S "$RC_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type")
        if [ -n "$toolchain" ]; then
            args+=(-DCMAKE_TOOLCHAIN_FILE="$RC_ROOT/cmake/$toolchain")
        fi
        cmake "${args[@]}" >/dev/null || return 1
    fi
    make -C "$dir" -j"$RC_JOBS" --no-print-directory "$@"
}

rc_build_host() { rc_build "$RC_BUILD/host" "" "$@"; }
rc_build_windows() { rc_build "$RC_BUILD/windows" mingw-i686.cmake "$@"; }
rc_build_windows64() { rc_build "$RC_BUILD/windows64" mingw-x86_64.cmake "$@"; }

# Builds the Windows build that runs under Wine here (see rc_setup).
rc_build_wine() {
    if [ "$RC_WINE_BUILD" = "$RC_BUILD/windows" ]; then
        rc_build_windows "$@"
    else
        rc_build_windows64 "$@"
    fi
}

# ---------------------------------------------------------------------------
# Wine prefixes. Each Windows build folder has wine/template (initialised
# once) and copies of it for the tests and for running the program.

# rc_wine_env BUILD-DIR: the loader, architecture and prefix folder of that
# build (from its generated wine_env.sh), and a quiet Wine.
rc_wine_env() {
    [ -f "$1/wine_env.sh" ] || rc_die "$1 is not a configured Windows build"
    # shellcheck disable=SC1091
    . "$1/wine_env.sh"
    export WINEARCH=$RC_WINEARCH
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko installers when a prefix is made.
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    if [ "$RC_WINEARCH" = win64 ]; then
        export WINELOADER=$RC_WINE_LOADER
    fi
}

rc_wine() { "$RC_WINE_LOADER" "$@"; }

# Makes the template prefix once (about 15 s); safe against concurrent calls.
rc_wine_template() {
    local t=$RC_WINE_DIR/template
    [ -f "$t/.rc-ready" ] && return 0
    mkdir -p "$RC_WINE_DIR"
    (
        flock 9
        [ -f "$t/.rc-ready" ] && exit 0
        rc_log "initialising a Wine prefix ($WINEARCH) in $t"
        rm -rf "$t"
        export WINEPREFIX=$t
        if ! timeout 300 "$RC_WINE_LOADER" wineboot -i </dev/null >"$RC_WINE_DIR/template.log" 2>&1; then
            rc_log "wineboot failed, see $RC_WINE_DIR/template.log"
            exit 1
        fi
        timeout 60 wineserver -k </dev/null >/dev/null 2>&1
        timeout 60 wineserver -w </dev/null >/dev/null 2>&1
        touch "$t/.rc-ready"
    ) 9>"$RC_WINE_DIR/.template.lock"
}

# rc_wine_prefix NAME [fresh]: WINEPREFIX becomes wine/NAME, a copy of the
# template, made anew when asked or when missing.
rc_wine_prefix() {
    local name=$1 fresh=${2:-}
    rc_wine_template || return 1
    export WINEPREFIX=$RC_WINE_DIR/$name
    if [ -n "$fresh" ] || [ ! -f "$WINEPREFIX/.rc-ready" ]; then
        rc_wine_stop
        rm -rf "$WINEPREFIX"
        cp -a "$RC_WINE_DIR/template" "$WINEPREFIX" || return 1
    fi
}

# Starts the prefix's wineserver (persistent) and Wine's own processes
# (services, explorer...) with their standard streams detached: started later
# by a program whose output is captured, they would hold that output open.
rc_wine_start() {
    setsid wineserver -p </dev/null >/dev/null 2>&1
    timeout 120 "$RC_WINE_LOADER" cmd /c exit </dev/null >/dev/null 2>&1
}

# Ends every process of the prefix and its wineserver.
rc_wine_stop() {
    [ -d "${WINEPREFIX:-/nonexistent}" ] || return 0
    timeout 60 wineserver -k </dev/null >/dev/null 2>&1
    timeout 60 wineserver -w </dev/null >/dev/null 2>&1
    return 0
}

# ---------------------------------------------------------------------------
# Virtual X display

RC_XVFB_PID=

# rc_xvfb_start [STATE-FILE]: starts a private Xvfb and sets DISPLAY to it.
# With a state file, "PID DISPLAY" is written there so that other processes
# (rc_xvfb_use) can use it and stop it (rc_xvfb_stop STATE-FILE); Xvfb then
# runs detached from our standard streams.
rc_xvfb_start() {
    local state=${1:-} fdfile i
    fdfile=$(mktemp)
    setsid Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$fdfile" \
        </dev/null >/dev/null 2>&1 &
    RC_XVFB_PID=$!
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        kill -0 "$RC_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        rm -f "$fdfile"
        rc_xvfb_stop
        rc_log "Xvfb did not start"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    if [ -n "$state" ]; then
        echo "$RC_XVFB_PID $DISPLAY" >"$state"
    fi
}

# rc_xvfb_use STATE-FILE: DISPLAY becomes the display of a running Xvfb
# started with that state file.
rc_xvfb_use() {
    local pid display
    [ -f "$1" ] || return 1
    read -r pid display <"$1"
    kill -0 "$pid" 2>/dev/null || return 1
    export DISPLAY=$display
}

# rc_xvfb_stop [STATE-FILE]: stops our Xvfb, or the one of the state file.
rc_xvfb_stop() {
    local pid display
    if [ -n "${1:-}" ]; then
        [ -f "$1" ] || return 0
        read -r pid display <"$1"
        rm -f "$1"
        [ -n "$pid" ] && kill "$pid" 2>/dev/null
        return 0
    fi
    if [ -n "$RC_XVFB_PID" ]; then
        kill "$RC_XVFB_PID" 2>/dev/null
        wait "$RC_XVFB_PID" 2>/dev/null
        RC_XVFB_PID=
    fi
    return 0
}
