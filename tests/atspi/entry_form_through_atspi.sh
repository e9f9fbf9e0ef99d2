#!/bin/sh
# The clerk's program under a real X server (Xvfb) with Qt's xcb platform
# and its AT-SPI bridge on a session bus of its own: fill_entry_form.py
# logs in and enters a document through the accessibility bus alone, and
# the database then holds the document.
#
#   entry_form_through_atspi.sh VELMORA_ENTRY VELMORA_INITDB
set -eu
entry=$1
initdb=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb dbus-run-session sqlite3; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (tools/setup installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c "import pyatspi" || { echo "python3-pyatspi is not installed (tools/setup installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$entry" "$initdb" "$work/"
"$work/velmora-initdb" "$work" >/dev/null

# Everything runs inside the session bus's own shell, so that the bus, the
# X server and the program all end with it.
cat >"$work/session.sh" <<'EOF'
set -u
work=$1 here=$2
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1)); [ "$tries" -lt 100 ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8
unset WAYLAND_DISPLAY
# The accessibility bus first, so that the program's bridge finds it.
dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
"$work/velmora-entry" >"$work/entry.log" 2>&1 &
program=$!
timeout 120 /usr/bin/python3 "$here/fill_entry_form.py" ugyfel ugyfel "Felolvasott levél"
status=$?
kill "$program" "$xvfb" 2>/dev/null
wait "$program" 2>/dev/null
[ "$status" -eq 0 ] || cat "$work/entry.log" >&2
exit "$status"
EOF
dbus-run-session -- sh "$work/session.sh" "$work" "$here" 2>"$work/bus.log" || { grep -v "fd limit" "$work/bus.log" >&2; sqlite3 "$work/velmora.db" "Select * from Document" >&2; exit 1; }

stored=$(sqlite3 "$work/velmora.db" "Select Iktatoszam || '|' || Targy || '|' || hex(Lezart) || '|' || (Ugytipus is not null) from Document where Targy = 'Felolvasott levél'")
[ "$stored" = "4242|Felolvasott levél|01|1" ] || { echo "the database holds '$stored'" >&2; exit 1; }
echo "The document entered through AT-SPI is in the database."
