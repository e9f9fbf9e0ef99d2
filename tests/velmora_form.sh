#!/bin/sh
# velmora-form as support staff use it: the built-in window written as a save
# stores it reads back unchanged but for the root's new name, and an error
# prints the program's own message and exits with 1.
set -eu
form="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$form" builtin > "$dir/builtin.txt"
"$form" load - < "$dir/builtin.txt" > "$dir/loaded.txt"
sed '1s/^object frmClientMain: /object frmClientMain_1: /' "$dir/builtin.txt" | cmp - "$dir/loaded.txt"
"$form" text2bin "$dir/builtin.txt" "$dir/image.bin"
"$form" bin2text "$dir/image.bin" - | cmp - "$dir/builtin.txt"
printf 'object A: TfrmClientMain\r\n  object L: TLabel\r\n  end\r\nend\r\n' > "$dir/label.txt"
if "$form" load "$dir/label.txt" 2> "$dir/err.txt"; then echo "a TLabel was read"; exit 1; fi
[ "$(cat "$dir/err.txt")" = "Class TLabel not found" ]
printf 'object A: TForm\r\n  Caption = %s\r\nend\r\n' "'$(head -c 4100 /dev/zero | tr '\0' x)'" > "$dir/long.txt"
if "$form" text2bin "$dir/long.txt" - 2> "$dir/err.txt" > /dev/null; then echo "a long line was read"; exit 1; fi
[ "$(cat "$dir/err.txt")" = "Line too long on line 2" ]
echo "velmora-form behaves"
