#!/usr/bin/python3
# A clerk who cannot see the screen, as a screen reader hears the program:
# the keys go to the X server (xdotool), and the script listens to the
# AT-SPI events a screen reader listens to (focus, text inserted and
# deleted, names changed), checking at each step what the reader would
# say, once each.
#
#   hear_the_days_work.py LOGIN PASSWORD
import os
import shutil
import subprocess
import sys
import tempfile
import time

import desktop
from desktop import act, named, wait_for
import pyatspi
from gi.repository import GLib

login, password = sys.argv[1:3]
heard = []

# A screen reader says it is there, as Orca does; programs then send events.
subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:ScreenReaderEnabled",
                "variant:boolean:true"], check=True, stdout=subprocess.DEVNULL)


def listen(event):
    try:
        data = event.any_data if isinstance(event.any_data, str) else ""
    except Exception:
        data = ""
    try:
        heard.append((event.type, event.source.getRoleName(), event.source.name, event.detail1, data))
    except Exception as e:
        heard.append((event.type, "", "", 0, "unreadable: %s" % e))


EVENTS = ("object:state-changed:focused", "object:text-changed:insert", "object:text-changed:delete",
          "object:property-change:accessible-name", "object:state-changed:showing")
pyatspi.Registry.registerEventListener(listen, *EVENTS)


def pump(seconds):
    context = GLib.MainContext.default()
    deadline = time.time() + seconds
    while time.time() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


# Listening before the program starts, as a screen reader is (the
# registry takes the listeners while the loop runs).
pump(0.5)
if os.environ.get("READY_FILE"):
    open(os.environ["READY_FILE"], "w").close()


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)


def type_keys(text):
    subprocess.run(["xdotool", "type", "--delay", "80", text], check=True)


def focus_heard(role, name, seconds=10):
    """Waits until the reader hears the focus arrive on that part; the
    events heard so far are then forgotten."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        pump(0.1)
        for e in heard:
            if e[0] == "object:state-changed:focused" and e[3] == 1 and e[1] == role and e[2] == name:
                del heard[:]
                return
    desktop.fail("no focus heard on %s '%s'; heard: %s" % (role, name, heard))


def typing_heard(name, text, seconds=10):
    """Each typed character is heard as one insertion at its offset, and
    nothing deleted."""
    deadline = time.time() + seconds
    while time.time() < deadline and len([e for e in heard if e[0].endswith("insert")]) < len(text):
        pump(0.1)
    pump(0.3)
    changes = [e for e in heard if e[0].startswith("object:text-changed") and e[2] == name]
    inserts = [e for e in changes if e[0].endswith("insert")]
    if len(changes) != len(text) or len(inserts) != len(text) or any(len(e[4]) != 1 for e in inserts):
        desktop.fail("typing '%s' into '%s' was heard as: %s" % (text, name, changes))
    print("atspi: heard in '%s': %d insertions of one character each" % (name, len(inserts)))
    del heard[:]


# The events are taken in while waiting, as a screen reader's loop takes them.
def said_on_status_bar(seconds=10):
    """What the status bar says next, heard exactly once."""
    deadline = time.time() + seconds
    while time.time() < deadline and not [e for e in heard if e[1] == "status bar"]:
        pump(0.2)
    pump(0.5)
    said = [e[2] for e in heard if e[1] == "status bar" and e[0].endswith("accessible-name")]
    if len(said) != 1:
        desktop.fail("the status bar was heard %d times: %s" % (len(said), said))
    # What a screen reader speaks wherever the focus is: the status bar's
    # notification shown with the same text.
    shown = [e[2] for e in heard if e[1] == "notification" and e[0].endswith("showing") and e[3] == 1]
    if shown != said:
        desktop.fail("the status bar said %s, its notification showed %s" % (said, shown))
    return said[0]


app = desktop.app = wait_for("the program on the accessibility bus", lambda: pump(0.2) or desktop.application())
# The login dialog opens with the focus in its first field.
dialog = wait_for("the login dialog", lambda: named(app, pyatspi.ROLE_DIALOG, "Bejelentkezés"))
name_field = wait_for("the login name", lambda: named(dialog, pyatspi.ROLE_TEXT, "Bejelentkező név"))
wait_for("the focus in the login name",
         lambda: name_field if name_field.getState().contains(pyatspi.STATE_FOCUSED) else None)
# Qt takes the events a reader listens to when it starts and when one is
# registered; the registry here may not yet have them when the program
# starts, so they are registered again now that it runs.
pyatspi.Registry.deregisterEventListener(listen, *EVENTS)
pyatspi.Registry.registerEventListener(listen, *EVENTS)
pump(0.5)
del heard[:]
type_keys(login)
typing_heard("Bejelentkező név", login)
keys("Tab")
focus_heard("password text", "Jelszó")
type_keys(password)
typing_heard("Jelszó", password)
keys("Return")
window = wait_for("the clerk's window", lambda: named(app, pyatspi.ROLE_FRAME, "Velmora Document Store"))

act(wait_for("Új felvitel", lambda: named(window, pyatspi.ROLE_PUSH_BUTTON, "Új felvitel")), "press")
focus_heard("text", "Iktatószám")
type_keys("4243")
typing_heard("Iktatószám", "4243")
keys("Tab")
focus_heard("text", "Tárgy")
type_keys("Hallott levél")
typing_heard("Tárgy", "Hallott levél")
# A deleted character is heard as that one deletion, at its offset.
keys("BackSpace")
deadline = time.time() + 10
while time.time() < deadline and not [e for e in heard if e[0].endswith("delete")]:
    pump(0.1)
pump(0.3)
changes = [e for e in heard if e[0].startswith("object:text-changed")]
if len(changes) != 1 or changes[0][0] != "object:text-changed:delete" or changes[0][3] != len("Hallott levé") \
        or changes[0][4] != "l":
    desktop.fail("a BackSpace was heard as: %s" % changes)
del heard[:]
type_keys("l")
typing_heard("Tárgy", "l")
keys("Tab")
# The date field reads its date, and takes one typed in any of its forms.
focus_heard("spin button", "Érkezett")
arrived = named(window, pyatspi.ROLE_SPIN_BUTTON, "Érkezett")
today = arrived.queryText().getText(0, -1)
if len(today) != 11 or today[4] != "." or today[7] != "." or today[10] != ".":
    desktop.fail("the date field reads '%s'" % today)
arrived.queryEditableText().setTextContents("2026-11-16")
wait_for("the date set", lambda: arrived if arrived.queryText().getText(0, -1) == "2026.11.16." else None)
print("atspi: the date field read %s and took 2026.11.16." % today)

# Saving is heard on the status bar, once, and the focus goes to "Új felvitel".
del heard[:]
keys("Return")
said = said_on_status_bar()
if not said.startswith("Dokumentum: "):
    desktop.fail("the save was heard on the status bar as '%s'" % said)
print("atspi: the status bar said once: " + said)
focused = [e for e in heard if e[0] == "object:state-changed:focused" and e[3] == 1]
if not focused or focused[-1][1:3] != ("push button", "Új felvitel"):
    desktop.fail("after the save the focus was heard on %s" % focused)
print("atspi: after the save the focus is heard on 'Új felvitel'")


def last_focus(seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        pump(0.2)
        focused = [e for e in heard if e[0] == "object:state-changed:focused" and e[3] == 1]
        if focused:
            pump(0.3)
            return [e for e in heard if e[0] == "object:state-changed:focused" and e[3] == 1][-1][1:3]
    desktop.fail("no focus heard; heard: %s" % heard)


def focus_after(key, role=None, name=None):
    """Presses the key; the focus the reader hears next, which must be on
    that role (and name) where they are given."""
    del heard[:]
    keys(key)
    heard_role, heard_name = last_focus()
    if (role and heard_role != role) or (name and heard_name != name):
        desktop.fail("after %s the focus is heard on %s '%s', not %s '%s'" % (key, heard_role, heard_name, role, name))
    print("atspi: %s: the focus is heard on %s '%s'" % (key, heard_role, heard_name))
    return heard_role, heard_name


def status_after(key, beginning="", ending=""):
    """Presses the key; what the status bar then says once, which must begin
    and end so."""
    del heard[:]
    keys(key)
    said = said_on_status_bar()
    if not said.startswith(beginning) or not said.endswith(ending):
        desktop.fail("after %s the status bar was heard as '%s'" % (key, said))
    print("atspi: %s: the status bar is heard once: %s" % (key, said))
    return said


# The search page by keys, every document found, heard on the status bar.
focus_after("ctrl+Tab")
focus_after("Tab")
status_after("Return", ending="találat")

# Through the result by keys: one cell at a time has the focus.
focus_after("shift+Tab", "table cell")
focus_after("Down", "table cell")

# Enter opens the row: the entry page's first control has the focus.
status_after("Return", beginning="Dokumentum: ")
role, name = last_focus()
if role == "table cell":
    desktop.fail("after opening the row the focus is heard on %s '%s'" % (role, name))

# PgDn steps to the next found document, heard on the status bar.
if "/" not in status_after("Next"):
    desktop.fail("the step was not heard as 'N / M'")

# F11 lists the attachments; Tab reaches "Csatolás…", whose file dialog
# takes the file's path typed; the list then has the file.
folder = tempfile.mkdtemp()
scan = os.path.join(folder, "beerkezett-level.pdf")
with open(scan, "w") as f:
    f.write("%PDF-1.4\n")
role, name = focus_after("F11")
for _ in range(8):
    if (role, name) == ("push button", "Csatolás…"):
        break
    role, name = focus_after("Tab")
if (role, name) != ("push button", "Csatolás…"):
    desktop.fail("Tab did not reach 'Csatolás…' but %s '%s'" % (role, name))
focus_after("space")
type_keys(scan)
keys("Return")
attachments = wait_for("the attachment list", lambda: next(
    (n for n in desktop.walk(app) if n.getRole() == pyatspi.ROLE_DIALOG and n.name.startswith("Mellékletek: ")), None))
wait_for("the file in the list", lambda: next((n for n in desktop.walk(attachments)
                                              if n.name == os.path.basename(scan)), None))
print("atspi: the file is in the list: " + os.path.basename(scan))
focus_after("Escape")
shutil.rmtree(folder)

# F8 asks why; the reason is typed there and the void is heard.
role, name = focus_after("F8", "text")
del heard[:]
type_keys("Kettes iktatas")
typing_heard(name, "Kettes iktatas")
status_after("Return", beginning="ÉRVÉNYTELENÍTVE: ")

# F6 opens the print dialog in its file name; Escape closes it, and the
# focus back in the clerk's window is heard again.
focus_after("F6", "text")
focus_after("Escape", "push button", "Új felvitel")

# A refusal's message box (the document is voided already): once it is
# closed, the focus in the clerk's window is heard again.
keys("F8")
pump(1.0)
focus_after("Return", "push button", "Új felvitel")

# F10: the clerk's menu opens on its first item; Right opens it; Escape
# closes the menu and the focus in the window is heard again.
focus_after("F10", "menu item", "Dokumentum")
focus_after("Right", "menu item", "Érvénytelenítés")
focus_after("Escape", "push button", "Új felvitel")
