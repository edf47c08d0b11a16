# Drives the calculator as a screen reader would, through AT-SPI (pyatspi):
# finds the application, presses keys by their accessible actions and reads
# the displays by their names. Exit status 0 when every check holds.
import sys
import time

import pyatspi
from gi.repository import GLib


T0 = time.time()


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_for(what, probe, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        # Events come in through GLib's main context.
        while GLib.MainContext.default().iteration(False):
            pass
        found = probe()
        if found:
            print("%.2f s: %s" % (time.time() - T0, what))
            return found
        time.sleep(0.05)
    fail("timed out waiting for %s (heard: %s)" % (what, events))


# What the calculator announced: (event type, role, name) of each event.
events = []


def heard(event):
    try:
        events.append((event.type, event.source.getRole(), event.source.name))
    except Exception as error:
        events.append((event.type, None, str(error)))


def announced(kind, role, name):
    return any(t.startswith(kind) and r == role and n == name for t, r, n in events)


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def states(node):
    return node.getState()


def showing(node):
    return states(node).contains(pyatspi.STATE_SHOWING)


def find(root, role, name, shown=True):
    for node in descendants(root):
        if node.getRole() == role and node.name == name and (not shown or showing(node)):
            return node
    return None


def press(root, name):
    key = find(root, pyatspi.ROLE_PUSH_BUTTON, name)
    if key is None:
        fail('no showing push button "%s"' % name)
    action = key.queryAction()
    if action.getName(0) != "click":
        fail('"%s" has the action "%s", not "click"' % (name, action.getName(0)))
    if not action.doAction(0):
        fail('"%s" refused its click' % name)


def labels(root):
    return [n for n in descendants(root) if n.getRole() == pyatspi.ROLE_LABEL and showing(n)]


def main():
    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name",
                                           "object:state-changed:focused")
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for("the application Mervik on the bus",
                   lambda: next((a for a in desktop if a is not None and a.name == "Mervik"), None))

    # Every key and bar button of the calculator screen is a named push button.
    buttons = [n for n in descendants(app) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name]
    named = {n.name for n in buttons}
    for name in ["7", "+", "=", "CE", "Change sign", "Switch keypad", "Settings", "Memory add", "Memory recall",
                 "Memory clear"]:
        if name not in named:
            fail('no push button named "%s" (named: %s)' % (name, sorted(named)))
    print("named push buttons: %d" % len(buttons))

    # The window starts with the display focused, and says so.
    display = wait_for("the focused display", lambda: next(
        (n for n in labels(app) if states(n).contains(pyatspi.STATE_FOCUSED)), None))
    wait_for("the display announced focused",
             lambda: announced("object:state-changed:focused", pyatspi.ROLE_LABEL, display.name))

    # 7 + 5 = through the accessible actions; the display announces each change.
    for name in ["7", "+", "5", "="]:
        press(app, name)
    wait_for('"12" on the display', lambda: display.name == "12")
    wait_for('the display announcing "12"',
             lambda: announced("object:property-change:accessible-name", pyatspi.ROLE_LABEL, "12"))
    wait_for('the conversion row "1100, base 2"',
             lambda: any(n.name == "1100, base 2" for n in labels(app)))

    # The base keypad: digits of base 2 only.
    press(app, "Switch keypad")
    keypad = wait_for("the base keypad showing", lambda: find(app, pyatspi.ROLE_PANEL, "Base keypad"))
    keys = {n.name: states(n).contains(pyatspi.STATE_SENSITIVE)
            for n in keypad if n is not None and n.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    expected = {k: k in ("0", "1") for k in list("0123456789ABCDEFGHIJKLMN")}
    if keys != expected:
        fail("base keypad sensitivity %s, expected %s" % (keys, expected))

    # The base picker takes a value as a settle would: base 16 writes 12 as C.
    picker = find(app, pyatspi.ROLE_SPIN_BUTTON, "Base")
    if picker is None:
        fail("no base picker")
    value = picker.queryValue()
    if (value.minimumValue, value.maximumValue, value.currentValue) != (2, 24, 2):
        fail("base picker range and value %s" % ((value.minimumValue, value.maximumValue, value.currentValue),))
    value.currentValue = 16
    wait_for('the conversion row "C, base 16"', lambda: any(n.name == "C, base 16" for n in labels(app)))
    wait_for("F sensitive in base 16", lambda: states(find(keypad, pyatspi.ROLE_PUSH_BUTTON, "F")).contains(
        pyatspi.STATE_SENSITIVE))

    # The side panel's bits and word sizes, found and pressed while the window
    # is too narrow to draw the panel: 12 has bits 2 and 3 set; bit 0 makes 13.
    bit2 = wait_for("the toggle button Bit 2", lambda: find(app, pyatspi.ROLE_TOGGLE_BUTTON, "Bit 2", shown=False))
    if not states(bit2).contains(pyatspi.STATE_CHECKED):
        fail("Bit 2 of 12 not checked")
    if find(app, pyatspi.ROLE_RADIO_BUTTON, "16", shown=False) is None:
        fail("no word size radio button 16")
    find(app, pyatspi.ROLE_TOGGLE_BUTTON, "Bit 0", shown=False).queryAction().doAction(0)
    wait_for('"13" on the display', lambda: display.name == "13")

    # The settings screen takes the focus to its picker, and back again to the display.
    press(app, "Settings")
    wait_for("the settings picker focused",
             lambda: announced("object:state-changed:focused", pyatspi.ROLE_SPIN_BUTTON, "Default base"))
    press(app, "Back")
    wait_for("the display focused again", lambda: states(display).contains(pyatspi.STATE_FOCUSED))
    print("ok")


main()
