#!/usr/bin/env python3
"""The main window as a screen reader sees it, over a real AT-SPI bus.

Starts the program under its own Xvfb inside a private D-Bus session, dumps the accessible
tree, checks the names, walks the focus with Tab and checks what Enter announces.
Exits 77 (skipped) with the reason when no display, session bus or AT-SPI can be had.

usage: atspi_check.py PROGRAM
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def in_private_session(argv):
    """Runs this script again inside dbus-run-session and under Xvfb; returns its exit code."""
    for tool in ("dbus-run-session", "Xvfb", "xdotool"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = pipe.readline().strip()
    if not display:
        xvfb.kill()
        skip("Xvfb did not start")
    env = dict(os.environ, DISPLAY=":" + display, VZ_ATSPI_INSIDE="1")
    try:
        return subprocess.run(["dbus-run-session", "--", sys.executable] + argv, env=env,
                              timeout=240).returncode
    finally:
        xvfb.terminate()
        xvfb.wait()


def flatten(node, depth=0, out=None):
    out = [] if out is None else out
    out.append((depth, node))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            flatten(child, depth + 1, out)
    return out


def main(program):
    try:
        import pyatspi
        from gi.repository import GLib
    except ImportError as error:
        skip("python3-pyatspi is missing: %s" % error)

    # The registry is started before the program, so that the program finds it at start.
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:
        skip("no AT-SPI registry on the session bus: %s" % error)
    home = tempfile.mkdtemp(prefix="vz-atspi-")
    env = dict(os.environ, HOME=home, XDG_STATE_HOME=home + "/state", LC_ALL="C.UTF-8",
               QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1")
    app_process = subprocess.Popen([os.path.abspath(program)], env=env, cwd=home)
    try:
        return check(pyatspi, GLib, app_process)
    finally:
        app_process.terminate()
        app_process.wait(timeout=10)
        shutil.rmtree(home, ignore_errors=True)


def find_application(pyatspi, pid):
    deadline = time.time() + 60
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid and app.childCount:
                    return app
            except Exception:
                pass
        time.sleep(0.5)
    return None


def check(pyatspi, GLib, app_process):
    app = find_application(pyatspi, app_process.pid)
    if app is None:
        skip("the program never appeared on the AT-SPI bus")
    time.sleep(1)
    nodes = flatten(app)
    print("Accessible tree:")
    for depth, node in nodes:
        print("%s%s %r %r" % ("  " * depth, node.getRoleName(), node.name, node.description))

    texts = [node.name for _, node in nodes if node.getRole() == pyatspi.ROLE_TEXT]
    rows = ["Ред %d" % n for n in range(1, 26)]
    for row in rows:
        if row not in texts:
            fail("no text box named %r" % row)
    for field in ("Обяснение", "Закръгления (max 15)"):
        if field not in texts:
            fail("no field named %r" % field)
    buttons = [node.name for _, node in nodes if node.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    if len(buttons) != 50 or len(set(buttons)) != 50:
        fail("button names are not 50 distinct ones: %r" % sorted(buttons))
    for _, node in nodes:
        state = node.getState()
        if state.contains(pyatspi.STATE_FOCUSABLE) and not node.name:
            fail("a focusable %s has no name" % node.getRoleName())

    by_name = {node.name: node for _, node in nodes if node.name}
    events = []

    def record(event):
        # Qt sends the object rather than the new text; the source holds the text by now.
        events.append((event.type, event.source.name, event.detail1, event.source.description))

    pyatspi.Registry.registerEventListener(
        record, "object:state-changed:focused", "object:property-change:accessible-description")

    def pump(seconds):
        context = GLib.MainContext.default()
        deadline = time.time() + seconds
        while time.time() < deadline:
            while context.iteration(False):
                pass
            time.sleep(0.02)

    def focused():
        for name in ["Ред %d" % n for n in range(1, 26)] + list(by_name):
            node = by_name.get(name)
            if node is not None and node.getState().contains(pyatspi.STATE_FOCUSED):
                return name
        return None

    def key(*names):
        subprocess.run(["xdotool", "key", "--clearmodifiers"] + list(names), check=True)
        pump(0.3)

    window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(app_process.pid)],
                            capture_output=True, text=True).stdout.split()
    if window:
        subprocess.run(["xdotool", "windowfocus", "--sync", window[-1]], check=False)
    pump(0.5)
    if focused() != "Ред 1":
        fail("the focus starts on %r, not row 1" % focused())

    walked = []
    for _ in range(28):
        key("Tab")
        walked.append(focused())
    print("Tab walks: %r" % walked)
    expected = rows[1:] + ["Обяснение", "Закръгления (max 15)", "Чете файл с формули",
                           "Нова таблица"]
    if walked != expected:
        fail("tab order %r" % walked)

    # Back to row 1, type a formula and enter it: the row's new description is announced while
    # the row still has the focus, then the focus moves on.
    for _ in range(28):
        key("shift+Tab")
    events.clear()
    key("2", "plus", "3", "Return")
    pump(1)
    print("Events after Enter: %r" % events)
    changed = [i for i, e in enumerate(events)
               if e[0] == "object:property-change:accessible-description" and e[1] == "Ред 1"]
    if not changed or by_name["Ред 1"].description != "Резултат: 5.0000":
        fail("no description change 'Резултат: 5.0000' for row 1")
    gained = [i for i, e in enumerate(events)
              if e[0] == "object:state-changed:focused" and e[2] == 1]
    if not gained or events[gained[-1]][1] != "Ред 2":
        fail("the focus did not move to row 2")
    # Orca speaks a changed description of the object that has the focus only.
    if changed[0] > gained[-1]:
        fail("the result is announced only after the focus left row 1")
    print("OK")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail(__doc__)
    if os.environ.get("VZ_ATSPI_INSIDE") != "1":
        sys.exit(in_private_session(sys.argv))
    sys.exit(main(sys.argv[1]))
