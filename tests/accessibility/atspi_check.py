#!/usr/bin/env python3
"""The main window as a screen reader sees it, over a real AT-SPI bus.

usage: atspi_check.py PROGRAM. Runs itself again in a private D-Bus session with its own
Xvfb, dumps the accessible tree, checks the names, walks the focus with Tab and checks that
Enter announces the row's result. Exits 77 (skipped) with the reason where that cannot be had.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROWS = ["Ред %d" % n for n in range(1, 26)]
FIELDS = ["Обяснение", "Закръгления (max 15)"]


def finish(code, message):
    print(("SKIP: " if code == 77 else "FAIL: ") + message)
    sys.exit(code)


def in_private_session(argv):
    for tool in ("dbus-run-session", "Xvfb", "xdotool"):
        if not shutil.which(tool):
            finish(77, tool + " is not installed")
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp"],
                            pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = pipe.readline().strip()
    env = dict(os.environ, DISPLAY=":" + display, VZ_ATSPI_INSIDE="1")
    try:
        if not display:
            finish(77, "Xvfb did not start")
        return subprocess.run(["dbus-run-session", "--", sys.executable] + argv, env=env,
                              timeout=240).returncode
    finally:
        xvfb.kill()
        xvfb.wait()


def main(program):
    try:
        import pyatspi
        from gi.repository import GLib
        # Started before the program, so that the program finds the registry at start.
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:
        finish(77, "no AT-SPI registry: %s" % error)
    home = tempfile.mkdtemp(prefix="vz-atspi-")
    env = dict(os.environ, HOME=home, XDG_STATE_HOME=home, LC_ALL="C.UTF-8",
               QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([os.path.abspath(program)], env=env, cwd=home)
    try:
        check(pyatspi, GLib, process.pid)
    finally:
        process.terminate()
        process.wait(timeout=10)
        shutil.rmtree(home, ignore_errors=True)


def find_application(pyatspi, pid):
    for _ in range(120):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
            if app is not None and app.get_process_id() == pid and app.childCount:
                return app
        time.sleep(0.5)
    finish(77, "the program never appeared on the AT-SPI bus")


def check(pyatspi, GLib, pid):
    app = find_application(pyatspi, pid)
    time.sleep(1)
    nodes, pending = [], [(0, app)]
    while pending:
        depth, node = pending.pop()
        nodes.append(node)
        print("%s%s %r %r" % ("  " * depth, node.getRoleName(), node.name, node.description))
        pending += [(depth + 1, node.getChildAtIndex(i)) for i in reversed(range(node.childCount))]

    texts = [n.name for n in nodes if n.getRole() == pyatspi.ROLE_TEXT]
    if sorted(texts) != sorted(ROWS + FIELDS):
        finish(1, "text boxes are named %r" % texts)
    buttons = {n.name for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    if len(buttons) != 50:
        finish(1, "the 50 buttons have %d distinct names" % len(buttons))
    if any(n.getState().contains(pyatspi.STATE_FOCUSABLE) and not n.name for n in nodes):
        finish(1, "a focus stop has no name")

    by_name = {n.name: n for n in nodes if n.name}
    events = []
    pyatspi.Registry.registerEventListener(
        lambda e: events.append((e.type, e.source.name, e.detail1)),
        "object:state-changed:focused", "object:property-change:accessible-description")

    def key(*names):
        subprocess.run(["xdotool", "key", "--clearmodifiers"] + list(names), check=True)
        deadline = time.time() + 0.3
        while time.time() < deadline:
            GLib.MainContext.default().iteration(False)

    def focused():
        return next((name for name, node in by_name.items()
                     if node.getState().contains(pyatspi.STATE_FOCUSED)), None)

    window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(pid)],
                            capture_output=True, text=True).stdout.split()
    subprocess.run(["xdotool", "windowfocus", "--sync", window[-1]], check=True)
    key("shift")
    walked = [focused()]
    for _ in range(28):
        key("Tab")
        walked.append(focused())
    print("Tab walks: %r" % walked)
    if walked != ROWS + FIELDS + ["Чете файл с формули", "Нова таблица"]:
        finish(1, "tab order")

    key(*["shift+Tab"] * 28)
    events.clear()
    key("2", "plus", "3", "Return")
    key("shift")
    print("Events after Enter: %r" % events)
    # Orca speaks a changed description only of the object that has the focus.
    if (events[:1] != [("object:property-change:accessible-description", "Ред 1", 0)]
            or by_name["Ред 1"].description != "Резултат: 5.0000"
            or ("object:state-changed:focused", "Ред 2", 1) not in events):
        finish(1, "row 1 did not announce its result before the focus moved on")
    print("OK")


if __name__ == "__main__":
    if os.environ.get("VZ_ATSPI_INSIDE") != "1":
        sys.exit(in_private_session(sys.argv))
    main(sys.argv[1])
