#!/bin/sh
# The layer check catches what it is there to catch: on a copy of the
# tree, an include of a room above, an include of the clerk's entry form
# from the registry, and SQL written into a window are each refused by
# name; the untouched copy passes.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy() {
    rm -rf "$work/tree" && mkdir "$work/tree"
    (cd "$src" && tar cf - --exclude='./build*' --exclude=./.git .) | (cd "$work/tree" && tar xf -)
}
expect() {  # expect WHAT TEXT: the check fails, saying TEXT
    if python3 "$src/tools/check-layers" --root "$work/tree" >"$work/out" 2>&1; then
        echo "FAIL: the layer check passed $1" >&2; exit 1
    fi
    grep -qF "$2" "$work/out" || { echo "FAIL: $1 was not named:" >&2; cat "$work/out" >&2; exit 1; }
    echo "caught: $1"
}

copy
python3 "$src/tools/check-layers" --root "$work/tree" >/dev/null

printf '#include "designer/ClientMain.h"\n' >>"$work/tree/entry/Documents.cpp"
expect "entry/ including designer/" "entry/Documents.cpp: entry/ may not include designer/"

copy
printf '#include "entry/EntryForm.h"\n' >>"$work/tree/registry/Numbering.cpp"
expect "registry/ including entry/" "registry/Numbering.cpp: registry/ may not include entry/"

copy
printf 'const char* const shown = "SELECT DocumentID FROM Document";\n' >>"$work/tree/entry/HistoryWindow.cpp"
expect "a SELECT in a window" "entry/HistoryWindow.cpp: SQL belongs in the rooms that send statements"

copy
printf 'const char* const q =\n    " where Document.Targy = :p0";\n' >>"$work/tree/entry/FoundDocuments.cpp"
expect "a where clause in the entry form" "entry/FoundDocuments.cpp: SQL belongs"

copy
printf '// "Select * from UserGroup" as the comment says it\nconst char* const said = "Keresés";\n' >>"$work/tree/entry/HistoryWindow.cpp"
python3 "$src/tools/check-layers" --root "$work/tree" >/dev/null || { echo "FAIL: SQL in a comment or a Hungarian word was refused" >&2; exit 1; }
echo "layering_catches: every injection refused"
