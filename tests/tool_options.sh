#!/bin/sh
# The tools say how to use them: --help prints the usage on standard output
# and exits 0, --version the version, a wrong option or a missing argument
# the usage on standard error with the status 2. velmora-initdb without a
# folder fills the user's folders and never overwrites what is there;
# velmora-admin finds the database there too and refuses what it must.
set -eu
initdb="$1" form="$2" entry="$3"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails() {  # fails STATUS COMMAND...: runs COMMAND, which must exit with STATUS
    want="$1"; shift
    set +e; "$@" > "$dir/out" 2> "$dir/err"; got=$?; set -e
    [ "$got" = "$want" ] || { echo "$*: status $got, not $want"; cat "$dir/err"; exit 1; }
}
cp "$4" "$dir/velmora-admin"  # away from any data-link file beside the build
admin="$dir/velmora-admin"
for tool in "$initdb" "$form" "$entry" "$admin"; do
    name=$(basename "$tool")
    "$tool" --help > "$dir/help"
    grep -q "^usage: $name" "$dir/help"
    grep -q "^  --version  *the version" "$dir/help"
    "$tool" --version | grep -q "^$name [0-9][0-9.]*$"
    fails 2 "$tool" --no-such-option
    grep -q "^usage: $name" "$dir/err"
    [ ! -s "$dir/out" ]
done
fails 2 "$initdb" --postgres
fails 2 "$initdb" one two
fails 2 "$form" text2bin only-one
fails 2 "$form"
fails 2 "$admin" add-user only-login
fails 2 "$admin" list extra
fails 2 "$admin" numbering
fails 2 "$admin" numbering set
fails 2 "$admin" numbering set Iktatoszam --color
fails 2 "$admin" numbering off

export XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data"
"$initdb" > /dev/null
[ -f "$dir/data/velmora/velmora.db" ]
grep -q "^Provider=SQLite;Data Source=$dir/data/velmora/velmora.db" "$dir/config/velmora/VelmoraDSC.udl"
cp "$dir/config/velmora/VelmoraDSC.udl" "$dir/link.before"
fails 1 "$initdb"
grep -q "exists already" "$dir/err"
cmp "$dir/link.before" "$dir/config/velmora/VelmoraDSC.udl"
echo "titok" | "$admin" add-user Anna "iktatás"
echo x | fails 1 "$admin" add-user anna Iktatás
grep -q "There is a user Anna already" "$dir/err"
"$admin" list > "$dir/list"
grep -q "^Iktatás: no design$" "$dir/list"
grep -q "^  Anna$" "$dir/list"
grep -q "^  demo (plain-text password)$" "$dir/list"
# Numbering from the command line: set, refused, listed, taken off.
"$admin" numbering set Iktatoszam --start 10 | grep -q "the next document gets 1004$"
fails 1 "$admin" numbering set Lezart
grep -q "^velmora-admin: Lezart is neither an integer nor a text column" "$dir/err"
"$admin" numbering list | grep -q "^Iktatoszam: {n}, next 1004$"
"$admin" numbering off Iktatoszam > /dev/null
"$admin" numbering list | grep -q "^No column is numbered"
echo "the tools say how to use them"
