#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Start or stop a CUPS daemon with a PDF printer "PDF" as the default printer, for the print
# tests and CI. Both commands may be repeated. Needs root (installs packages when missing).
#   tools/printer.sh start   # cupsd running, queue PDF enabled and default
#   tools/printer.sh stop    # stops the cupsd this script started (by its PID)
set -eu

pidfile=${PEMIRA_CUPSD_PIDFILE:-/tmp/pemira-cupsd.pid}
logfile=${PEMIRA_CUPSD_LOG:-/tmp/pemira-cupsd.log}
queue=PDF
ppd=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

running() {
    lpstat -r 2>/dev/null | grep -q "is running"
}

ensure_packages() {
    if command -v cupsd >/dev/null && command -v lpadmin >/dev/null \
        && [ -e /usr/lib/cups/backend/cups-pdf ]; then
        return
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends cups cups-client printer-driver-cups-pdf \
        poppler-utils >/dev/null
}

start() {
    ensure_packages
    if ! running; then
        cupsd -f >"$logfile" 2>&1 &
        echo $! >"$pidfile"
        tries=0
        until running; do
            tries=$((tries + 1))
            if [ "$tries" -gt 100 ]; then
                echo "printer.sh: cupsd did not start (see $logfile)" >&2
                exit 1
            fi
            sleep 0.1
        done
    fi
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
        # "drivers are deprecated" is a harmless warning.
        lpadmin -p "$queue" -E -v cups-pdf:/ -m "$ppd" 2>/dev/null
    fi
    cupsenable "$queue" 2>/dev/null || true
    cupsaccept "$queue" 2>/dev/null || true
    lpadmin -d "$queue"
    lpstat -d
}

stop() {
    [ -f "$pidfile" ] || return 0
    pid=$(cat "$pidfile")
    if kill "$pid" 2>/dev/null; then
        tries=0
        while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 100 ]; do
            tries=$((tries + 1))
            sleep 0.1
        done
    fi
    rm -f "$pidfile"
}

case "${1:-}" in
start) start ;;
stop) stop ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
