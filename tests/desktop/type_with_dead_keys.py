#!/usr/bin/python3
# Typing as a Linux user types on a keyboard with dead keys: the keys go
# to the X server (xdotool, through XTest) on a layout with dead keys, and
# Qt's input method composes them. The window's parts are found and
# pressed through AT-SPI, so that nothing depends on where they are drawn.
#
#   type_with_dead_keys.py LOGIN PASSWORD
import subprocess
import sys
import time

import desktop
from desktop import act, named, wait_for
import pyatspi

login, password = sys.argv[1:3]


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)


def typed(field, text):
    """Waits until the field holds the text the keys typed."""
    held = []
    def holds():
        held[:] = [field.queryText().getText(0, -1)]
        return field if held[0] == text else None
    deadline = time.time() + 10
    while time.time() < deadline and holds() is None:
        time.sleep(0.2)
    if held[0] != text:
        desktop.fail("%s holds '%s', not '%s'" % (field.name, held[0], text))


app = desktop.app = wait_for("the program on the accessibility bus", desktop.application)
window = desktop.log_in(login, password)
save = desktop.new_document(window)
number = named(window, pyatspi.ROLE_TEXT, "Iktatószám")
act(number, "setfocus")
wait_for("the focus in Iktatószám", lambda: number if number.getState().contains(pyatspi.STATE_FOCUSED) else None)
keys("5", "1", "5", "0")
typed(number, "5150")
subject = named(window, pyatspi.ROLE_TEXT, "Tárgy")
act(subject, "setfocus")
wait_for("the focus in Tárgy", lambda: subject if subject.getState().contains(pyatspi.STATE_FOCUSED) else None)
# K, i, s, space; then the acute dead key and a: á; then r.
keys("shift+k", "i", "s", "space", "dead_acute", "a", "r")
typed(subject, "Kis ár")
desktop.save(window, save)
print("atspi: typed with dead keys")
