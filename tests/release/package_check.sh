#!/usr/bin/env bash
# Builds the Debian package from the build tree, checks its control data and
# file list, and runs the programs as extracted from it on a scratch folder.
# Usage: package_check.sh CPACK CPACK_CONFIG VERSION SOURCE_DIR
set -euo pipefail
cpack=$1
config=$2
version=$3
src=$4

for tool in dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool nicht gefunden (Pakete dpkg-dev und file); das Paket wird nicht gebaut"
        exit 77
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Its own package folder, so that a package built by hand is never touched.
"$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
arch=$(dpkg --print-architecture)
deb=$work/out/tarvo_${version}_${arch}.deb
[[ -s $deb ]] || fail "no $(basename "$deb"): $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tarvo ]] || fail "package name '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "package version '$(field Version)'"
[[ $(field Architecture) == "$arch" ]] || fail "architecture '$(field Architecture)'"
[[ $(field Section) == science ]] || fail "section '$(field Section)'"
depends=$(field Depends)
for needed in libqt6widgets6 libqt6printsupport6 libcurl4 libjpeg62-turbo libc6 fonts-liberation \
    qt6-translations-l10n; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
[[ -n $(field Maintainer) && -n $(field Homepage) && -n $(field Description) ]] ||
    fail "maintainer, homepage or description missing"

# Exactly these files, nothing left out and nothing stray.
expected=(
    usr/bin/tarvo usr/bin/tarvo-cli
    usr/share/applications/de.tarvo.Tarvo.desktop
    usr/share/metainfo/de.tarvo.Tarvo.metainfo.xml
    usr/share/man/man1/tarvo.1.gz usr/share/man/man1/tarvo-cli.1.gz
)
for size in 16 22 24 32 48 64 128; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/de.tarvo.Tarvo.png")
done
for page in "$src"/resources/help/*.html "$src"/resources/help/*.css; do
    expected+=("usr/share/tarvo/help/$(basename "$page")")
done
listed=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '/$' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[[ $listed == "$wanted" ]] || fail "file list differs:
$(diff <(echo "$wanted") <(echo "$listed") || true)"

root=$work/root
dpkg-deb -x "$deb" "$root"
for exe in tarvo tarvo-cli; do
    file -L "$root/usr/bin/$exe" | grep -q 'ELF.*, stripped' || fail "$exe is not a stripped program"
done
for size in 16 48 128; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/de.tarvo.Tarvo.png" |
        grep -q "PNG image data, $size x $size" || fail "icon of size $size is not $size pixels"
done
gzip -t "$root"/usr/share/man/man1/*.gz || fail "manual pages are not gzip files"
desktop=$root/usr/share/applications/de.tarvo.Tarvo.desktop
grep -qx 'Exec=tarvo' "$desktop" || fail "the menu entry does not start tarvo"
grep -qx 'Icon=de.tarvo.Tarvo' "$desktop" || fail "the menu entry names another icon"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/de.tarvo.Tarvo.metainfo.xml" ||
    fail "the metadata names another release"

# The extracted programs: version and a scratch observer folder.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
unset TARVO_HOME
[[ $("$root/usr/bin/tarvo-cli" --version) == "tarvo-cli $version" ]] || fail "tarvo-cli --version"
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/tarvo" --version) == "tarvo $version" ]] ||
    fail "tarvo --version"
data=$work/data
mkdir -p "$data/0001"
printf '[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=%s\r\n[Beobachter]\r\nMuster=0001\\\r\n' "$version" \
    >"$data/tarvo.ini"
listed=$("$root/usr/bin/tarvo-cli" --home "$data" observers)
[[ $listed == $'* Muster\t0001\\' ]] || fail "extracted tarvo-cli observers: '$listed'"
empty=$work/empty
mkdir "$empty"
[[ -z $("$root/usr/bin/tarvo-cli" --home "$empty" observers) ]] || fail "observers of an empty folder"
[[ -z $(ls -A "$empty") ]] || fail "tarvo-cli wrote into an empty --home folder (the first start is the program's)"
[[ ! -e $root/usr/bin/tarvo.ini && ! -e $HOME/.local/share/Tarvo ]] || fail "data written outside --home"
echo "package check passed: $(basename "$deb")"
