#!/usr/bin/python3
# The designer as a screen reader finds it: after a login by keys, the
# property page's "Típus" is a group of four radio buttons a reader can
# reach, each with its caption and its state, and no button or check box
# claims a caption label as its own.
#
#   walk_the_designer.py LOGIN PASSWORD
import subprocess
import sys

import desktop
from desktop import named, wait_for
import pyatspi

login, password = sys.argv[1:3]


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)


def type_keys(text):
    subprocess.run(["xdotool", "type", "--delay", "80", text], check=True)


app = desktop.app = wait_for("the designer on the accessibility bus", desktop.application)
dialog = wait_for("the login dialog", lambda: named(app, pyatspi.ROLE_DIALOG, "Bejelentkezés"))
name_field = wait_for("the login name", lambda: named(dialog, pyatspi.ROLE_TEXT, "Bejelentkező név"))
wait_for("the focus in the login name",
         lambda: name_field if name_field.getState().contains(pyatspi.STATE_FOCUSED) else None)
type_keys(login)
keys("Tab")
type_keys(password)
keys("Return")

kind = wait_for("Típus", lambda: next((n for n in desktop.walk(app) if n.name == "Típus" and n.childCount == 4), None))
choices = [kind.getChildAtIndex(i) for i in range(kind.childCount)]
names = [c.name for c in choices]
if names != ["Szám", "Szöveg", "Dátum", "Igen/Nem"] or any(c.getRole() != pyatspi.ROLE_RADIO_BUTTON for c in choices):
    desktop.fail("Típus holds %s" % [(c.getRoleName(), c.name) for c in choices])
for c in choices:
    if c.getIndexInParent() != choices.index(c) or c.parent != kind:
        desktop.fail("%s does not know its place in Típus" % c.name)
print("atspi: Típus holds the radio buttons %s" % ", ".join(names))

for node in desktop.walk(app):
    try:
        role = node.getRole()
        if role not in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON):
            continue
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                desktop.fail("%s '%s' is labelled by a caption label" % (node.getRoleName(), node.name))
    except Exception:
        continue
print("atspi: no button or check box is labelled by a caption label")
