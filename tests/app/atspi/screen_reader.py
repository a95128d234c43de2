#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
"""Reads the application over AT-SPI as a screen reader does: the home entries and the login
button by name, pressed through their accessible action; the login fields; the doctor list's
rows; no control without a name. Usage (in a D-Bus session): screen_reader.py RV_PATIENT HOST:PORT"""
import os
import subprocess
import sys
import time


def fail(reason):
    print(f"FAIL: {reason}", flush=True)
    sys.exit(1)


try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    fail(f"python3-pyatspi is missing ({error})")

CONTROLS = {"push button", "list item", "text", "password text", "check box", "link", "slider"}
HOME_ENTRIES = ["医院查询", "科室查询", "医生查询", "预约历史", "帐户信息"]


def wait_for(what, probe, app=None):
    end = time.monotonic() + 20
    while time.monotonic() < end:
        # Take in what the application announced, as a screen reader keeps its tree up to date.
        while GLib.MainContext.default().pending():
            GLib.MainContext.default().iteration(False)
        try:
            found = probe()
        except Exception:  # read while it went away
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail(f"no {what} after 20 s" + (f"; the screen reads: {list(shown(app))}" if app else ""))


def start_bus():
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ or not os.access(launcher, os.X_OK):
        fail("no D-Bus session, or no AT-SPI bus launcher (package at-spi2-core)")
    bus = subprocess.Popen([launcher, "--launch-immediately"])
    ask = ["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply", "/org/a11y/bus",
           "org.a11y.Bus.GetAddress"]
    for _ in range(100):
        if bus.poll() is not None:
            fail(f"the AT-SPI bus launcher ended with status {bus.returncode}")
        answer = subprocess.run(ask, capture_output=True, text=True)
        if answer.returncode == 0 and "unix:" in answer.stdout:
            return bus
        time.sleep(0.1)
    fail(f"the AT-SPI bus did not start: {answer.stderr.strip()}")


def shown(node):
    """(role, name, node) of the node and of everything under it that shows, depth first;
    objects of a screen that goes away while they are read are passed over."""
    try:
        if node is None or not node.getState().contains(pyatspi.STATE_SHOWING):
            return
        role, name, children = node.getRoleName(), node.name, list(node)
    except Exception:
        return
    yield role, name, node
    for child in children:
        yield from shown(child)


def find(app, role, name=None):
    return next((n for r, m, n in shown(app) if r == role and name in (None, m)), None)


def names(app, role):
    return [name for r, name, _ in shown(app) if r == role]


def press(node, what):
    action = node.queryAction()
    offered = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in offered:
        fail(f"{what} offers no press action (it offers {offered})")
    return lambda: action.doAction(offered.index("Press"))


def check_named(app, screen):
    if any(role in CONTROLS and not name for role, name, _ in shown(app)):
        fail(f"{screen}: controls without a name: {list(shown(app))}")


def read(app):
    entries = wait_for("home screen entries", lambda: names(app, "list item"))
    if entries != HOME_ENTRIES:
        fail(f"the home screen's entries read {entries}, not {HOME_ENTRIES}")
    pressers = {entry: press(find(app, "list item", entry), entry) for entry in HOME_ENTRIES}
    check_named(app, "home screen")

    press(wait_for("login button", lambda: find(app, "push button", "点击登录")), "login")()
    wait_for("login screen with an account field and a secure password field", lambda: find(
        app, "tool bar", "登录") and find(app, "text", "帐户") and find(app, "password text", "密码"))
    check_named(app, "login screen")
    press(wait_for("back button", lambda: find(app, "push button", "返回")), "back")()
    wait_for("home screen again", lambda: find(app, "list item", "医生查询"))
    pressers["医生查询"]()
    wait_for("doctor list instead of the home screen", lambda: find(
        app, "tool bar", "医生查询") and not find(app, "list item", "医生查询"))
    rows = wait_for("doctor rows", lambda: names(app, "list item"), app)
    # A doctor's row reads name, title, hospital and speciality.
    if any(len(row.split()) < 3 for row in rows):
        fail(f"doctor rows that do not read a doctor: {rows}")
    check_named(app, "doctor list")
    print(f"PASS: home entries, login and {len(rows)} doctor rows read by name", flush=True)


def main():
    bus = start_bus()
    # What a screen reader listens to; the application announces only what is listened to.
    pyatspi.Registry.registerEventListener(lambda event: None, "object:children-changed",
                                           "object:state-changed", "object:property-change",
                                           "focus:")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               ASAN_OPTIONS="detect_leaks=0")
    client = subprocess.Popen([sys.argv[1], "--service", sys.argv[2], "--no-update-check"],
                              env=env)
    try:
        read(wait_for("application on the accessibility bus", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "rv-patient"), None)))
    finally:
        client.terminate()
        client.wait(timeout=20)
        bus.terminate()
        bus.wait(timeout=20)


if __name__ == "__main__":
    main()
