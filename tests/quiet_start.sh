#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An ordinary start says nothing on the console: offscreen, and on an X server (Xvfb) up to the
# information page, which brings in the browser engine. Runs as a desktop session would: a
# private runtime folder, its own home, the record in a temporary folder.
# Usage: quiet_start.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
xvfb=""
program=""
cleanup() {
    [ -z "$program" ] || kill -- -"$program" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program with the platform in $1 (and DISPLAY in $2), leaves its console in $log.
start() {
    local run="$work/$1"
    mkdir -p "$run/runtime" "$run/home"
    chmod 700 "$run/runtime"
    log="$run/console.log"
    setsid env -i PATH=/usr/bin:/bin HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime" \
        LANG=C.UTF-8 ${2:+DISPLAY=$2} QT_QPA_PLATFORM="$1" \
        "$build/bin/pemira" --record "$run/settemp.dat" >"$log" 2>&1 &
    program=$!
    for _ in $(seq 100); do [ -e "$run/settemp.dat.lock" ] && break; sleep 0.05; done
    [ -e "$run/settemp.dat.lock" ] || { cat "$log" >&2; fail "no start on $1"; }
}
stop() {
    kill -- -"$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
}
quiet() {
    [ ! -s "$log" ] || { cat -A "$log" >&2; fail "$1 printed on the console"; }
    echo "$1: nothing on the console"
}

start offscreen
# Past the first paint and the idle work after it.
sleep 2
stop
quiet offscreen

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "no Xvfb or xdotool: the X11 start with the information page was not tried"
    exit 0
fi
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(head -1 "$work/display")"
start xcb "$display"
window=""
for _ in $(seq 200); do
    window=$(DISPLAY=$display xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -1) \
        || true
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || fail "no window on $display"
# ▼ unfolds the window, then インフォメーション表示: the engine starts, shows its view and
# tries the site.
DISPLAY=$display xdotool mousemove --window "$window" 451 131 click 1
sleep 0.5
DISPLAY=$display xdotool mousemove --window "$window" 351 160 click 1
sleep 6
stop
quiet "X11 with the information page"
