#!/bin/bash
# With nothing open, the direction buttons move the pointer one pixel.
#   e2e_mouse.sh BUILD-DIR
# IT9135 stick, 44KEY layout: KeyCode 2 moves up, 6 right, 8 down, 4 left.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
e2e_init "$1" mouse 180
e2e_install
e2e_settings DBM=1 Default44keyIR=0 DefaultTVAPP=2 DefaultLaunchAp=0
e2e_tuner plug it9135 >/dev/null
e2e_start_product

e2e_probe setcursor 500 400 || e2e_fail "cannot place the pointer"
[ "$(e2e_probe cursor | tr -d '\r')" = "500 400" ] || e2e_fail "the pointer is not at 500 400"
at() { [ "$(e2e_probe cursor | tr -d '\r')" = "$1" ]; }
step() {  # button expected-position name
    e2e_tuner press "$1" >/dev/null
    e2e_wait 15 at "$2" || e2e_fail "$3 (KeyCode $1): the pointer is at $(e2e_probe cursor | tr -d '\r'), not $2"
    sleep 0.3
}
step m-up "500 399" "up"
step m-right "501 399" "right"
step m-down "501 400" "down"
step m-left "500 400" "left"
e2e_pass "the direction buttons move the pointer"
