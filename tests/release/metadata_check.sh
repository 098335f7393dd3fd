#!/usr/bin/env bash
# The menu entry and the AppStream metadata as the distributions' tools check
# them, and the screenshots the metadata names are in the repository.
# Usage: metadata_check.sh SOURCE_DIR METAINFO DESKTOP_FILE
set -euo pipefail
src=$1
metainfo=$2
desktop=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

images=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's/<[^>]*>//g')
[[ -n $images ]] || fail "the metadata names no screenshot"
for url in $images; do
    [[ -s $src/docs/screenshots/${url##*/} ]] || fail "screenshot ${url##*/} is not in docs/screenshots"
done

missing=()
if command -v desktop-file-validate >/dev/null; then
    # Hints count too: a clean file, or the menus may list the program twice.
    report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
    [[ -z $report ]] || fail "desktop-file-validate: $report"
else
    missing+=(desktop-file-utils)
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate"
    # Installed side by side, the metadata must find its menu entry.
    mkdir -p "$work/usr/share/metainfo" "$work/usr/share/applications"
    cp "$metainfo" "$work/usr/share/metainfo/"
    cp "$desktop" "$work/usr/share/applications/"
    appstreamcli validate-tree --no-net "$work" || fail "appstreamcli validate-tree"
else
    missing+=(appstream)
fi
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "SKIP: nicht installiert: ${missing[*]}; die Prüfung entfällt (scripts/install-deps installiert es)"
    exit 77
fi
echo "metadata check passed"
