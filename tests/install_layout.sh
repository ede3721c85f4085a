#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program installed under /usr (into a temporary DESTDIR) and run by an ordinary user keeps
# its record in that user's data folder, made by the first save, and writes nothing under the
# prefix; a portable copy keeps its record beside itself. Each run makes one morning measurement
# through the window, under Xvfb with xdotool.
# Usage: install_layout.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
chmod 755 "$work"
xvfb=""
program=""
cleanup() {
    [ -z "$program" ] || kill -- -"$program" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ ! -f "$work/program.log" ] || cat "$work/program.log" >&2
    exit 1
}

# The ordinary user: nobody when the suite runs as root (as CI does), else the caller, for whom the
# installed tree is then made read-only as root would own it.
runas=()
if [ "$(id -u)" -eq 0 ]; then
    runas=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups)
fi
own() { [ ${#runas[@]} -eq 0 ] || chown -R nobody: "$@"; }

Xvfb -displayfd 3 -ac -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"

# Starts BIN/pemira as the ordinary user with HOME, at a fixed morning (the first slot of a day
# saves at once; an evening would ask for the mood first).
start() {
    local bin=$1 home=$2
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    own "$home"
    # The clock library itself rather than the faketime wrapper: the wrapper's named semaphore
    # outlives a killed run and can refuse a later one whose process number matches.
    local clock
    clock=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
    [ -n "$clock" ] || fail "libfaketime is not installed"
    setsid "${runas[@]}" env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME="$home" \
        XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 LD_PRELOAD="$clock" \
        FAKETIME='@2024-05-03 07:05:00' "$bin/pemira" >"$work/program.log" 2>&1 &
    program=$!
    window=""
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --classname '^pemira$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.05
    done
    [ -n "$window" ] || fail "no window from $bin/pemira"
}
stop() {
    kill -- -"$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
}
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.1
}
# Keypad keys by their place in the window; the keypad opens on a click into a field.
key() {
    case $1 in
        7) click 145 42 ;; 8) click 166 42 ;; 9) click 187 42 ;;
        4) click 145 62 ;; 5) click 166 62 ;; 6) click 187 62 ;;
        1) click 145 82 ;; 2) click 166 82 ;; 3) click 187 82 ;;
        0) click 155 101 ;; Enter) click 176 122 ;;
    esac
}
field() { # y of the field, digits
    click 94 "$1"
    local digits=$2
    for ((i = 0; i < ${#digits}; i++)); do key "${digits:i:1}"; done
    key Enter
}
measure() {
    click 82 27 # ♂
    field 52 35
    field 76 170
    field 100 65
    field 124 20
    click 150 61 # 計算
}
wait_for() {
    for _ in $(seq 100); do [ -f "$1" ] && return 0; sleep 0.1; done
    fail "no record at $1"
}
check_record() {
    [ "$(grep -c $'\r$' "$1")" -eq 16 ] || fail "$1 is not a whole record"
    grep -q '^1,35,170\.0,' "$1" || fail "$1 lacks the profile: $(head -1 "$1")"
}
check_plugins() {
    ! grep -q 'pemira_output\|pemira_browser' "$work/program.log" || fail "a plugin was not found"
}

# Installed.
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
# Readable by everyone whatever the umask, writable by its owner only, as a package installs it.
chmod -R go+rX,go-w "$root"
[ ${#runas[@]} -gt 0 ] || chmod -R a-w "$root"
(cd "$root" && find . -printf '%p %s %T@\n' | sort) >"$work/before"
home="$work/home"
mkdir -p "$home"
start "$root/usr/bin" "$home"
[ ! -e "$home/.local/share/pemira" ] || fail "the data folder was made at start"
measure
wait_for "$home/.local/share/pemira/settemp.dat"
stop
check_record "$home/.local/share/pemira/settemp.dat"
check_plugins
(cd "$root" && find . -printf '%p %s %T@\n' | sort) >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "something was written under the prefix"

# Portable: the program and its plugins copied to a folder of the user's.
portable="$work/portable"
mkdir -p "$portable"
cp "$build/bin/pemira" "$build/bin/libpemira_output.so" "$build/bin/libpemira_browser.so" \
    "$portable/"
own "$portable"
home="$work/home2"
mkdir -p "$home"
start "$portable" "$home"
measure
wait_for "$portable/settemp.dat"
stop
check_record "$portable/settemp.dat"
check_plugins
[ ! -e "$home/.local/share/pemira" ] || fail "a portable copy used the data folder"
echo "install layout ok"
