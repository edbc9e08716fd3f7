#!/bin/sh
# The functions src/README.md lists as differing from Windows are exactly
# those with a "// Differs from Windows:" line directly above them.
#   differences_listed.sh SRC_DIR   (platform/posix/src)
src=${1:?usage: differences_listed.sh SRC_DIR}
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

sed -n 's/^- `\([A-Za-z0-9_]*\)`: .*/\1/p' "$src/README.md" | sort >"$work/listed"
# The name of the function defined on the line after each marker.
find "$src" -name '*.cpp' -o -name '*.h' | sort | xargs awk '
    marked { if (match($0, /[A-Za-z0-9_]+\(/)) print substr($0, RSTART, RLENGTH - 1); else print "?" FILENAME ":" FNR; marked = 0 }
    /^\/\/ Differs from Windows: / { marked = 1 }' | sort >"$work/marked"

if ! cmp -s "$work/listed" "$work/marked"; then
    echo "README.md list (<) and Differs-from-Windows lines (>) disagree:"
    diff "$work/listed" "$work/marked"
    exit 1
fi
[ -s "$work/listed" ] || { echo "no functions listed in $src/README.md"; exit 1; }
echo "$(wc -l <"$work/listed") functions listed and marked"
