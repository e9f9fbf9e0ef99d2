#!/usr/bin/python3
# A clerk who cannot see the screen, as a screen reader serves them: the
# clerk's program is found on the desktop's accessibility bus (AT-SPI), the
# login dialog's fields by their names, the form's fields by their
# captions; text goes in through the fields' editable text and buttons are
# pressed through their actions. Nothing here looks at a pixel or moves
# the mouse.
#
#   fill_entry_form.py LOGIN PASSWORD SUBJECT
#
# Exits 0 once "Rendben" was pressed on the filled form; otherwise says
# what it could not find and exits 1.
import sys
import time

import pyatspi

login, password, subject = sys.argv[1:4]


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
        if app is not None and app.name == "velmora-entry":
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


app = wait_for("the program on the accessibility bus", application)
dialog = wait_for("the login dialog", lambda: named(app, pyatspi.ROLE_DIALOG, "Bejelentkezés"))
name_field = wait_for("the login name", lambda: named(dialog, pyatspi.ROLE_TEXT, "Bejelentkező név"))
password_field = wait_for("the password", lambda: named(dialog, pyatspi.ROLE_PASSWORD_TEXT, "Jelszó"))
type_into(name_field, login)
type_into(password_field, password)
act(wait_for("OK", lambda: named(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK")), "press")

window = wait_for("the clerk's window", lambda: named(app, pyatspi.ROLE_FRAME, "Velmora Document Store"))
act(wait_for("Új felvitel", lambda: named(window, pyatspi.ROLE_PUSH_BUTTON, "Új felvitel")), "press")
save = wait_for("Rendben, shown", lambda: (lambda b: b if showing(b) else None)(
    named(window, pyatspi.ROLE_PUSH_BUTTON, "Rendben")))
type_into(named(window, pyatspi.ROLE_TEXT, "Iktatószám"), "4242")
type_into(named(window, pyatspi.ROLE_TEXT, "Tárgy"), subject)
type_into(named(window, pyatspi.ROLE_TEXT, "Ügytípus"), "Panasz")
closed = wait_for("Lezárt", lambda: named(window, pyatspi.ROLE_CHECK_BOX, "Lezárt"))
act(closed, "toggle")
wait_for("Lezárt checked", lambda: closed if closed.getState().contains(pyatspi.STATE_CHECKED) else None)
status = wait_for("the status bar", lambda: named(window, pyatspi.ROLE_STATUS_BAR, "Új dokumentum"))
act(save, "press")
# The status bar says the save is done (or why it was refused).
wait_for("the save", lambda: status if status.name != "Új dokumentum" else None)
print("atspi: the status bar says: " + status.name)
print("atspi: the document was entered")
