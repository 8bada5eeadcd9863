"""What a screen reader sees of the program over AT-SPI (run with the system's python3,
which has pyatspi). Prints one FAIL line per fault; exit status 0 when all checks pass.

  atspi_client.py window X Y SCALE   the program's window, its client area at X,Y on the
                                     screen: banners, the Exit button focused as the
                                     window became active and kept by Tab, and Exit's
                                     click action ending the program
  atspi_client.py msgbox TEXT CAPTION  the message box over the window: an alert with its
                                     text, OK's action closing it and the focus event
                                     of Exit taking the focus back, then Exit's action
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL: " + what, flush=True)
    return ok


def await_value(get, seconds=10.0):
    """Polls get() until it gives something, for up to `seconds`."""
    end = time.monotonic() + seconds
    while True:
        try:
            value = get()
        except Exception:  # the tree changes under the client while it looks
            value = None
        if value or time.monotonic() > end:
            return value
        time.sleep(0.1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((a for a in desktop if a is not None and a.name == "xpkit"), None)


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(node, role, name=None):
    return next((d for d in descendants(node) if d.getRole() == role and (name is None or d.name == name)), None)


def text_of(node):
    text = node.queryText()
    return text.getText(0, -1)


def await_event(kind, matches, action, seconds=5.0):
    """Listens for `kind`, runs `action`, and waits until an event `matches`. The action
    waits half a second: the program hears of a new listener over the bus, and sends
    only events that someone listens to."""
    seen = []
    loop = GLib.MainLoop()

    def listener(event):
        if matches(event):
            seen.append(event)
            loop.quit()

    pyatspi.Registry.registerEventListener(listener, kind)
    GLib.timeout_add(int(seconds * 1000), loop.quit)
    GLib.timeout_add(500, lambda: action() and False)
    loop.run()
    pyatspi.Registry.deregisterEventListener(listener, kind)
    return bool(seen)


def window(x, y, scale):
    app = await_value(application)
    if not check(app is not None, 'no application "xpkit" on the accessibility bus'):
        return
    check(app.getRole() == pyatspi.ROLE_APPLICATION, "the application's role is %s" % app.getRoleName())
    check(app.toolkitName == "xpkit", "the toolkit is %r" % app.toolkitName)
    check(bool(app.toolkitVersion), "no toolkit version")
    frame = await_value(lambda: app[0] if app.childCount else None)
    if not check(frame is not None, "the application has no window"):
        return
    check(frame.getRole() == pyatspi.ROLE_FRAME and frame.name == "xpkit",
          "the window is %s %r, not the frame \"xpkit\"" % (frame.getRoleName(), frame.name))

    banners = [c for c in frame if c.getRole() == pyatspi.ROLE_PANEL]
    texts = sorted(text_of(b) for b in banners)
    check(texts == ["Farewell\nThe way out", "Welcome\nA window of one's own"],
          "the banners read %r" % texts)
    header = next((b for b in banners if b.name == "Welcome"), None)
    check(header is not None and header.description == "A window of one's own",
          "no banner named \"Welcome\" described as its description")

    button = find(frame, pyatspi.ROLE_PUSH_BUTTON, "خروج")
    if not check(button is not None, 'no push button "خروج"'):
        return
    states = button.getState()
    for state in (pyatspi.STATE_ENABLED, pyatspi.STATE_SENSITIVE, pyatspi.STATE_FOCUSABLE, pyatspi.STATE_SHOWING,
                  pyatspi.STATE_VISIBLE):
        check(states.contains(state), "the button is not %s" % pyatspi.stateToString(state))
    check(states.contains(pyatspi.STATE_FOCUSED), "the button, the only tab stop, has not the focus at start")
    extents = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    expected = (x + 105 * scale, y + 129 * scale, 106 * scale, 22 * scale)
    got = (extents.x, extents.y, extents.width, extents.height)
    check(got == expected, "the button's extents are %s, not %s" % (got, expected))
    action = button.queryAction()
    check(action.nActions == 1 and action.getName(0) == "click",
          "the button's actions: %s" % [action.getName(i) for i in range(action.nActions)])

    subprocess.run(["xdotool", "key", "Tab"], check=False)
    time.sleep(0.5)
    check(button.getState().contains(pyatspi.STATE_FOCUSED), "the button is not focused after Tab")
    check(frame.getState().contains(pyatspi.STATE_ACTIVE), "the window is not active")
    action.doAction(0)


def msgbox(text, caption):
    app = await_value(application)
    if not check(app is not None, 'no application "xpkit" on the accessibility bus'):
        return
    alert = await_value(lambda: next((w for w in app if w.getRole() == pyatspi.ROLE_ALERT), None))
    if not check(alert is not None, "no alert among the windows: %s" % [w.getRoleName() for w in app]):
        return
    check(alert.name == caption, "the alert is named %r" % alert.name)
    check(alert.description == text, "the alert is described as %r" % alert.description)
    label = find(alert, pyatspi.ROLE_LABEL)
    check(label is not None and label.name == text, "the alert's label reads %r" % (label and label.name))
    ok = find(alert, pyatspi.ROLE_PUSH_BUTTON, "OK")
    if not check(ok is not None, "the alert has no push button \"OK\""):
        return
    check(ok.getState().contains(pyatspi.STATE_FOCUSED), "OK has not the focus")
    # Closing the box activates the window again, and Exit gets the focus back.
    refocused = await_event("object:state-changed:focused",
                            lambda e: e.detail1 == 1 and e.source.name == "خروج",
                            lambda: ok.queryAction().doAction(0))
    check(refocused, "no focus event on Exit as the box closed")
    gone = await_value(lambda: all(w.getRole() != pyatspi.ROLE_ALERT for w in app), 5)
    check(gone, "the alert is still there after OK's action")
    exit_button = find(app, pyatspi.ROLE_PUSH_BUTTON, "خروج")
    if check(exit_button is not None, "no Exit button after the box closed"):
        exit_button.queryAction().doAction(0)


if __name__ == "__main__":
    if sys.argv[1] == "window":
        window(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]))
    else:
        msgbox(sys.argv[2], sys.argv[3])
    sys.exit(1 if failures else 0)
