#!/bin/bash
# CTest check: no logic library references a Qt Widgets symbol, so tarvo-cli,
# the tests and the benchmarks use the logic without a window.
#   check_no_widgets.sh NM LIBQT6WIDGETS LIST_OF_LOGIC_LIBRARIES
set -euo pipefail
nm=$1 widgets=$2 list=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Everything Qt Widgets defines, by its demangled name.
"$nm" -D -C --defined-only "$widgets" | sed -e 's/^[0-9a-fA-F]* [A-Za-z] //' -e 's/@.*$//' | sort -u > "$work/widgets"
[ -s "$work/widgets" ] || { echo "no symbols read from $widgets"; exit 1; }
failed=0
count=0
while read -r library; do
    [ -n "$library" ] || continue
    count=$((count + 1))
    "$nm" -C --undefined-only "$library" | sed 's/^ *U //' | sort -u > "$work/undefined"
    if comm -12 "$work/undefined" "$work/widgets" > "$work/used" && [ -s "$work/used" ]; then
        echo "$(basename "$library") uses Qt Widgets:"
        sed 's/^/    /' "$work/used"
        failed=1
    fi
done < "$list"
[ "$count" -gt 0 ] || { echo "no logic libraries listed in $list"; exit 1; }
[ "$failed" -eq 0 ] && echo "$count logic libraries, none uses Qt Widgets"
exit "$failed"
