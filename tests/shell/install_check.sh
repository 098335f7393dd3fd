#!/usr/bin/env bash
# Installs the build into a scratch prefix, checks what lands where, and that
# an installed program keeps its data in the user's folder, where a second
# install never touches it.
# Usage: install_check.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for exe in bin/tarvo bin/tarvo-cli; do
    [[ -x $prefix/$exe ]] || fail "$exe missing or not executable"
done
[[ -s $prefix/share/tarvo/help/index.html ]] || fail "help pages missing"
for size in 16 22 24 32 48 64 128; do
    [[ -s $prefix/share/icons/hicolor/${size}x${size}/apps/de.tarvo.Tarvo.png ]] || fail "icon $size missing"
done
desktop=$prefix/share/applications/de.tarvo.Tarvo.desktop
[[ -s $desktop ]] || fail "desktop file missing"
grep -qx 'Exec=tarvo' "$desktop" || fail "desktop file does not start tarvo"
grep -qx 'Icon=de.tarvo.Tarvo' "$desktop" || fail "desktop file names another icon"
[[ -s $prefix/share/metainfo/de.tarvo.Tarvo.metainfo.xml ]] || fail "metadata missing"
for page in tarvo tarvo-cli; do
    [[ -s $prefix/share/man/man1/$page.1.gz ]] || fail "manual page $page(1) missing"
done

# The user's data, as an earlier version left it.
export HOME=$work/home
export XDG_DATA_HOME=$HOME/.local/share
export XDG_CONFIG_HOME=$HOME/.config
unset TARVO_HOME
data=$XDG_DATA_HOME/Tarvo/Tarvo
mkdir -p "$data/0001"
printf '[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=9\r\n[Beobachter]\r\nMuster=0001\\\r\n' >"$data/tarvo.ini"
head -c 56160 /dev/urandom >"$data/0001/SO2004.DAT"

listed=$("$prefix/bin/tarvo-cli" observers)
[[ $listed == $'* Muster\t0001\\' ]] || fail "installed tarvo-cli does not read the user's data: '$listed'"
[[ ! -e $prefix/bin/tarvo.ini ]] || fail "data written beside the installed program"
before=$(cd "$data" && find . -type f -exec sha256sum {} + | sort)

# An update: an installed file differs from the new one and is replaced.
echo "alt" >"$prefix/share/tarvo/help/index.html"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
cmp -s "$prefix/share/tarvo/help/index.html" "$(dirname "$0")/../../resources/help/index.html" ||
    fail "second install did not update the help pages"
after=$(cd "$data" && find . -type f -exec sha256sum {} + | sort)
[[ $before == "$after" ]] || fail "second install changed the user's data"
listed=$("$prefix/bin/tarvo-cli" observers)
[[ $listed == $'* Muster\t0001\\' ]] || fail "observer list lost after the update: '$listed'"
echo "install check passed"
