#!/bin/sh
# The clerk's program on a desktop of its own: a real X server (Xvfb) with
# a keyboard layout, Qt's xcb platform with its input method and its AT-SPI
# bridge, all on a session bus of its own. A script drives the program as
# a person (or a screen reader) would; then the database must answer a
# query with the expected text.
#
#   run_entry_on_desktop.sh PROGRAM VELMORA_INITDB LAYOUT SQL EXPECTED SCRIPT [ARG...]
#
# PROGRAM is velmora-entry, or the designer velmora.
#
# LAYOUT is setxkbmap's layout and variant ("us", "us intl"). With
# LISTEN_FIRST=1 the script starts first and the program once the script
# has made the file named by READY_FILE.
set -eu
entry=$1 initdb=$2 layout=$3 sql=$4 expected=$5 script=$6
shift 6
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb dbus-run-session sqlite3 setxkbmap xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (tools/setup installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c "import pyatspi" || { echo "python3-pyatspi is not installed (tools/setup installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$entry" "$initdb" "$work/"
program_name=$(basename "$entry")
"$work/velmora-initdb" "$work" >/dev/null

# Everything runs inside the session bus's own shell, so that the bus, the
# X server and the program all end with it.
cat >"$work/session.sh" <<'SESSION'
set -u
work=$1 here=$2 layout=$3 script=$4 program_name=$5
shift 5
export PROGRAM_NAME="$program_name"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1)); [ "$tries" -lt 100 ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
# LANG gives the input method its compose table.
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8
# Qt's own input method (the compose table), as on a desktop without IBus.
unset WAYLAND_DISPLAY XMODIFIERS QT_IM_MODULE
# shellcheck disable=SC2086 # layout and variant are two words
setxkbmap $layout
# The accessibility bus first, so that the program's bridge finds it.
a11y=$(dbus-send --session --dest=org.a11y.Bus --print-reply=literal /org/a11y/bus org.a11y.Bus.GetAddress | tr -d ' ')
# The registry too, before anything asks it: started under load it can be
# slower than a client's first call.
dbus-send --address="$a11y" --reply-timeout=60000 --dest=org.a11y.atspi.Registry --print-reply \
    /org/a11y/atspi/registry org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1 || true
if [ "${LISTEN_FIRST:-}" = 1 ]; then
    # A script that listens to events, as a screen reader does, is there
    # before the program: it says so by making the ready file.
    READY_FILE="$work/ready" PYTHONPATH="$here" timeout 120 /usr/bin/python3 "$here/$script" "$@" &
    listener=$!
    tries=0
    until [ -e "$work/ready" ] || [ "$tries" -ge 100 ]; do tries=$((tries + 1)); sleep 0.1; done
    "$work/$program_name" >"$work/entry.log" 2>&1 &
    program=$!
    wait "$listener"
    status=$?
else
    "$work/$program_name" >"$work/entry.log" 2>&1 &
    program=$!
    PYTHONPATH="$here" timeout 120 /usr/bin/python3 "$here/$script" "$@"
    status=$?
fi
kill "$program" "$xvfb" 2>/dev/null
wait "$program" 2>/dev/null
[ "$status" -eq 0 ] || cat "$work/entry.log" >&2
exit "$status"
SESSION
dbus-run-session -- sh "$work/session.sh" "$work" "$here" "$layout" "$script" "$program_name" "$@" 2>"$work/bus.log" || {
    grep -v "fd limit" "$work/bus.log" >&2
    exit 1
}

stored=$(sqlite3 "$work/velmora.db" "$sql")
[ "$stored" = "$expected" ] || { echo "the database holds '$stored', not '$expected'" >&2; exit 1; }
echo "The database holds what was entered: $stored"
