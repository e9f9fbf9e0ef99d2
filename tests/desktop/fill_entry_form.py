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

import desktop
from desktop import act, named, type_into, wait_for
import pyatspi

login, password, subject = sys.argv[1:4]

app = desktop.app = wait_for("the program on the accessibility bus", desktop.application)
window = desktop.log_in(login, password)
save = desktop.new_document(window)
type_into(named(window, pyatspi.ROLE_TEXT, "Iktatószám"), "4242")
type_into(named(window, pyatspi.ROLE_TEXT, "Tárgy"), subject)
type_into(named(window, pyatspi.ROLE_TEXT, "Ügytípus"), "Panasz")
closed = wait_for("Lezárt", lambda: named(window, pyatspi.ROLE_CHECK_BOX, "Lezárt"))
act(closed, "toggle")
wait_for("Lezárt checked", lambda: closed if closed.getState().contains(pyatspi.STATE_CHECKED) else None)
desktop.save(window, save)
print("atspi: the document was entered")
