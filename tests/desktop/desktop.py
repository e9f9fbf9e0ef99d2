# What the desktop tests share: finding the clerk's program and its parts
# on the accessibility bus (AT-SPI), by role and name as a screen reader
# does, typing through a field's editable text and pressing through a
# part's actions.
import os
import sys
import time

import pyatspi

app = None


def fail(why):
    print("atspi: " + why, file=sys.stderr)
    # What the program shows, for whoever reads the failure.
    for node in walk(app) if app is not None else []:
        try:
            if node.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FRAME, pyatspi.ROLE_STATUS_BAR,
                                  pyatspi.ROLE_LABEL) and node.getState().contains(pyatspi.STATE_SHOWING):
                print("atspi: shown: %s '%s' %s" % (node.getRoleName(), node.name, node.description), file=sys.stderr)
        except Exception:
            continue
    sys.exit(1)


def walk(node, depth=0):
    if depth > 12 or node is None:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def wait_for(what, find, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    fail("not found: " + what)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == os.environ.get("PROGRAM_NAME", "velmora-entry"):
            return app
    return None


def named(root, role, name):
    for node in walk(root):
        try:
            if node.getRole() == role and node.name == name and not node.getState().contains(pyatspi.STATE_DEFUNCT):
                return node
        except Exception:
            continue
    return None


def showing(node):
    return node is not None and node.getState().contains(pyatspi.STATE_SHOWING)


def type_into(field, text):
    field.queryEditableText().insertText(0, text, len(text))
    # The field answers with what it now holds (a password as its masks).
    deadline = time.time() + 5
    while time.time() < deadline:
        held = field.queryText().getText(0, -1)
        if held == text or (field.getRole() == pyatspi.ROLE_PASSWORD_TEXT and held != text and len(held) == len(text)):
            return
        time.sleep(0.1)
    fail("the field '%s' holds '%s', not '%s'" % (field.name, field.queryText().getText(0, -1), text))


def act(node, action):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i).lower() == action:
            actions.doAction(i)
            return
    fail("'%s' has no action %s" % (node.name, action))




def log_in(login, password):
    """Logs in through the login dialog; returns the clerk's window."""
    dialog = wait_for("the login dialog", lambda: named(app, pyatspi.ROLE_DIALOG, "Bejelentkezés"))
    name_field = wait_for("the login name", lambda: named(dialog, pyatspi.ROLE_TEXT, "Bejelentkező név"))
    password_field = wait_for("the password", lambda: named(dialog, pyatspi.ROLE_PASSWORD_TEXT, "Jelszó"))
    type_into(name_field, login)
    type_into(password_field, password)
    act(wait_for("OK", lambda: named(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK")), "press")
    return wait_for("the clerk's window", lambda: named(app, pyatspi.ROLE_FRAME, "Velmora Document Store"))


def new_document(window):
    """Starts a new document; returns its "Rendben" button, once shown."""
    act(wait_for("Új felvitel", lambda: named(window, pyatspi.ROLE_PUSH_BUTTON, "Új felvitel")), "press")
    return wait_for("Rendben, shown", lambda: (lambda b: b if showing(b) else None)(
        named(window, pyatspi.ROLE_PUSH_BUTTON, "Rendben")))


def save(window, button):
    """Presses "Rendben" and waits until the status bar says what came of it."""
    status = wait_for("the status bar", lambda: named(window, pyatspi.ROLE_STATUS_BAR, "Új dokumentum"))
    act(button, "press")
    wait_for("the save", lambda: status if status.name != "Új dokumentum" else None)
    print("atspi: the status bar says: " + status.name)
