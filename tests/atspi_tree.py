#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the program's window over a real accessibility bus, as a screen reader would.

Starts a private X server and session bus, the AT-SPI bus inside it, then the program, and checks
a handful of names, roles, states, a relation, the day header table and one press action.
Usage: atspi_tree.py PROGRAM. Exits 77 (skipped) only when the tools it needs are missing.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
NOT_STARTED = 3  # the program ended before it appeared: the X server may have been taken
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def missing_tools():
    missing = [t for t in ("Xvfb", "dbus-run-session") if not shutil.which(t)]
    if not os.access(LAUNCHER, os.X_OK):
        missing.append(LAUNCHER)
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append("python3-pyatspi")
    return missing


def outer(program):
    """Runs the checks, once more on a fresh display when the program could not start."""
    result = outer_once(program)
    if result == NOT_STARTED:
        print("the program did not start; trying once more on another display")
        result = outer_once(program)
    return 1 if result == NOT_STARTED else result


def outer_once(program):
    """Starts Xvfb on a free display and runs the checks inside a private session bus."""
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    try:
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        if not display:
            print("Xvfb did not start")
            return 1
        env = dict(os.environ, DISPLAY=":" + display)
        runtime = tempfile.mkdtemp(prefix="atspi-run-")
        env["XDG_RUNTIME_DIR"] = runtime
        try:
            inner = subprocess.run(
                ["dbus-run-session", "--", sys.executable, __file__, "--inner", program],
                env=env, timeout=120)
            return inner.returncode
        except subprocess.TimeoutExpired:
            print("timed out")
            return 1
        finally:
            shutil.rmtree(runtime, ignore_errors=True)
    finally:
        xvfb.terminate()
        try:
            xvfb.wait(timeout=10)
        except subprocess.TimeoutExpired:
            xvfb.kill()


def find_all(node, predicate, found=None, depth=0):
    found = [] if found is None else found
    if node is None or depth > 40:
        return found
    if predicate(node):
        found.append(node)
    for i in range(node.childCount):
        find_all(node.getChildAtIndex(i), predicate, found, depth + 1)
    return found


def inner(program):
    launcher = subprocess.Popen([LAUNCHER, "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    folder = tempfile.mkdtemp(prefix="atspi-record-")
    app_process = None
    try:
        import pyatspi
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   QT_XCB_GL_INTEGRATION="none", QT_QUICK_BACKEND="software", LANG="C.UTF-8")
        app_process = subprocess.Popen(
            [program, "--record", os.path.join(folder, "settemp.dat")], env=env)

        app = None
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and app is None:
            try:
                desktop = pyatspi.Registry.getDesktop(0)
                for i in range(desktop.childCount):
                    candidate = desktop.getChildAtIndex(i)
                    if candidate is not None and candidate.get_process_id() == app_process.pid \
                            and candidate.childCount > 0:
                        app = candidate
            except Exception:  # the bus may still be starting
                pass
            if app is None:
                if app_process.poll() is not None:
                    print("the program ended with %d" % app_process.returncode)
                    return NOT_STARTED
                time.sleep(0.2)
        if app is None:
            print("the program never appeared on the accessibility bus")
            return 1

        failures = []

        def check(condition, what):
            print(("ok   " if condition else "FAIL ") + what)
            if not condition:
                failures.append(what)

        def named(name, role=None):
            nodes = find_all(app, lambda n: n.name == name
                             and (role is None or n.getRole() == role))
            return nodes[0] if nodes else None

        calculate = named("計算", pyatspi.ROLE_PUSH_BUTTON)
        check(calculate is not None, "calculate button is a push button named 計算")
        if calculate is not None:
            action = calculate.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            check("Press" in names, "calculate button offers Press (%s)" % names)
            check(calculate.description == "判定を計算します", "calculate button's hint")

        age = named("年齢", pyatspi.ROLE_TEXT)
        check(age is not None, "age field is a text named 年齢")
        if age is not None:
            labels = [r for r in age.getRelationSet()
                      if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            check(bool(labels) and labels[0].getTarget(0).name.startswith("年"),
                  "age field labelled by its row caption")

        female = named("♀", pyatspi.ROLE_RADIO_BUTTON)
        check(female is not None, "♀ is a radio button")
        if female is not None:
            check(not female.getState().contains(pyatspi.STATE_CHECKED), "♀ not chosen at start")
            female.queryAction().doAction(0)
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline \
                    and not female.getState().contains(pyatspi.STATE_CHECKED):
                time.sleep(0.1)
            check(female.getState().contains(pyatspi.STATE_CHECKED), "pressing ♀ chooses it")

        switch = named("脂肪重量グラフ表示", pyatspi.ROLE_PUSH_BUTTON)
        check(switch is not None
              and not switch.getState().contains(pyatspi.STATE_SHOWING),
              "graph switch below the compact window is not showing")

        tables = find_all(app, lambda n: n.getRole() == pyatspi.ROLE_TABLE)
        check(len(tables) == 1, "one table: the day header")
        if tables:
            table = tables[0].queryTable()
            check((table.nRows, table.nColumns) == (2, 32), "day header is 2 x 32")
            check(table.getAccessibleAt(0, 1).name.endswith("/"), "month over the first day")

        keypad = named("テンキー", pyatspi.ROLE_DIALOG)
        check(keypad is not None and not keypad.getState().contains(pyatspi.STATE_SHOWING),
              "keypad is a hidden dialog")

        if failures:
            print("%d check(s) failed" % len(failures))
            return 1
        return 0
    finally:
        if app_process is not None:
            app_process.terminate()
            try:
                app_process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                app_process.kill()
        launcher.send_signal(signal.SIGTERM)
        try:
            launcher.wait(timeout=10)
        except subprocess.TimeoutExpired:
            launcher.kill()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--inner":
        return inner(sys.argv[2])
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    missing = missing_tools()
    if missing:
        print("skipped, missing: " + ", ".join(missing))
        return SKIP
    return outer(os.path.abspath(sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
