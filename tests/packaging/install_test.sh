#!/usr/bin/env bash
# Installing and packaging: the install rules put the program, its modules,
# pictures, change log, menu entry, AppStream metadata, icons and manual page
# under a temporary DESTDIR, and the program run from there finds its own
# pictures and modules, and headless maps only what it uses; the menu entry
# and the metadata validate and the manual page renders without a warning;
# the Debian package holds the same files and names its library
# dependencies. As root, the package is also installed with dpkg, run, and
# removed again (unless a mervik package was installed before, which is then
# left as it was).
#
# Usage: install_test.sh BUILD_DIR
set -euo pipefail

BUILD=$(cd "${1:?usage: install_test.sh BUILD_DIR}" && pwd)
for tool in cmake cpack dpkg-deb desktop-file-validate appstreamcli man gzip; do
    command -v "$tool" >/dev/null || { echo "SKIP: needs $tool"; exit 77; }
done

WORK=$(mktemp -d)
INSTALLED_HERE=
cleanup() {
    [[ -n $INSTALLED_HERE ]] && dpkg -r mervik >/dev/null 2>&1 || true
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The width and height of a PNG, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }

# The display text in a state line.
display_of() { sed -n 's/.*"display":"\([^"]*\)".*/\1/p'; }

# ---- make install, into a DESTDIR
DEST="$WORK/dest"
DESTDIR="$DEST" cmake --install "$BUILD" --prefix /usr/local --strip >"$WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$WORK/install.log")"
ROOT="$DEST/usr/local"
for f in bin/mervik lib/mervik/mervik-window.so lib/mervik/mervik-render.so \
         share/mervik/ChangeLog.txt share/mervik/zeroImage.png share/mervik/twentythreeImage@3x.png \
         share/mervik/oobError@2x.png share/mervik/light/OPButtonBack.png share/mervik/contrast/button1@2x.png \
         share/applications/mervik.desktop share/man/man1/mervik.1.gz \
         share/icons/hicolor/scalable/apps/mervik.svg share/metainfo/app.mervik.mervik.metainfo.xml; do
    [[ -f $ROOT/$f ]] || fail "$f was not installed"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$ROOT/share/icons/hicolor/${size}x${size}/apps/mervik.png"
    [[ -f $icon ]] || fail "no ${size}x${size} icon"
    [[ $(png_size "$icon") == "${size}x${size}" ]] || fail "the ${size}x${size} icon is $(png_size "$icon")"
done
grep -q '<svg' "$ROOT/share/icons/hicolor/scalable/apps/mervik.svg" || fail "the scalable icon is not SVG"
pictures=$(ls "$BUILD/resources"/*.png | wc -l)
[[ $(ls "$ROOT/share/mervik"/*.png | wc -l) -eq $pictures ]] || fail "not all $pictures pictures were installed"

# The installed program, run from elsewhere with nothing pointing it at the
# build, works headless, draws with its installed pictures and its installed
# renderer.
cd "$WORK"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config"
unset MERVIK_RESOURCES
[[ $("$ROOT/bin/mervik" --keys "7 + 5 =" | display_of) == 12 ]] || fail "the installed program did not add 7 and 5"
state=$(printf 'press 1\npress 0\nscreenshot %s\nstate\n' "$WORK/shot.png" | "$ROOT/bin/mervik" --script - 2>"$WORK/err.txt") ||
    fail "the installed program's script failed: $(cat "$WORK/err.txt")"
grep -q '"oneImage.png"' <<<"$state" || fail "the installed program found no digit pictures: $state"
[[ -s $WORK/shot.png ]] || fail "the installed program wrote no screenshot"
[[ ! -s $WORK/err.txt ]] || fail "the installed program complained: $(cat "$WORK/err.txt")"
"$ROOT/bin/mervik" --version | grep -qx 'mervik [0-9.]*' || fail "--version printed: $("$ROOT/bin/mervik" --version)"
# Headless, it maps only what it uses, and finds its modules beside itself only.
bash "$(dirname "${BASH_SOURCE[0]}")/../shell/headless_libraries.sh" "$ROOT/bin/mervik" >"$WORK/libraries.log" 2>&1 ||
    fail "the installed program's headless libraries: $(tail -n 3 "$WORK/libraries.log")"

# The menu entry and the manual page.
desktop-file-validate "$ROOT/share/applications/mervik.desktop" || fail "the menu entry does not validate"
metainfo="$ROOT/share/metainfo/app.mervik.mervik.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$WORK/appstream.log" 2>&1 ||
    fail "the AppStream metadata does not validate: $(cat "$WORK/appstream.log")"
grep -q "<release version=\"$("$ROOT/bin/mervik" --version | cut -d' ' -f2)\"" "$metainfo" ||
    fail "the AppStream metadata does not name this release"
grep -q '<launchable type="desktop-id">mervik.desktop</launchable>' "$metainfo" ||
    fail "the AppStream metadata does not name the menu entry"
warnings=$(MANWIDTH=80 man --warnings -l "$ROOT/share/man/man1/mervik.1.gz" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "the manual page renders with warnings: $warnings"
MANWIDTH=80 man -l "$ROOT/share/man/man1/mervik.1.gz" 2>/dev/null | grep -q 'SCRIPT COMMANDS' || fail "the manual page is empty"

# ---- The Debian package
(cd "$BUILD" && cpack -G DEB -B "$WORK/package" >"$WORK/cpack.log" 2>&1) || fail "cpack failed: $(tail -n 5 "$WORK/cpack.log")"
deb=$(ls "$WORK"/package/mervik_*.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || fail "cpack made no package"
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/mervik usr/lib/mervik/mervik-window.so usr/lib/mervik/mervik-render.so usr/share/mervik/ChangeLog.txt usr/share/mervik/zeroImage@2x.png \
         usr/share/applications/mervik.desktop usr/share/icons/hicolor/48x48/apps/mervik.png \
         usr/share/icons/hicolor/scalable/apps/mervik.svg usr/share/man/man1/mervik.1.gz \
         usr/share/metainfo/app.mervik.mervik.metainfo.xml; do
    grep -q " \./$f\$" <<<"$contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2 libcairo2 libpango fonts-dejavu-core libc6; do
    grep -q "$lib" <<<"$depends" || fail "the package does not depend on $lib: $depends"
done

if [[ $(id -u) -eq 0 ]]; then
    if dpkg -s mervik >/dev/null 2>&1; then
        echo "note: a mervik package is installed already; not installing over it"
    else
        dpkg -i "$deb" >"$WORK/dpkg.log" 2>&1 || fail "dpkg -i failed: $(tail -n 5 "$WORK/dpkg.log")"
        INSTALLED_HERE=1
        [[ $(/usr/bin/mervik --version) == "mervik $(dpkg-deb -f "$deb" Version)" ]] ||
            fail "the packaged program's --version printed: $(/usr/bin/mervik --version)"
        [[ $(/usr/bin/mervik --keys "7 + 5 =" | display_of) == 12 ]] || fail "the packaged program did not add 7 and 5"
        dpkg -r mervik >/dev/null 2>&1 || fail "dpkg -r failed"
        INSTALLED_HERE=
        [[ ! -e /usr/bin/mervik ]] || fail "dpkg -r left /usr/bin/mervik behind"
    fi
else
    echo "note: not root, so the package was not installed"
fi

echo "PASS: install and package ($(basename "$deb"), $(du -k "$deb" | cut -f1) KiB)"
