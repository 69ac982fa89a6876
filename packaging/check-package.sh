#!/bin/sh
# Builds the Debian package from a finished build and checks it as a user and Debian's tools would see it:
# its name and file list, its computed dependencies, the desktop entry, the AppStream metadata, the user
# unit and the manual pages of the files as installed, a program run from the unpacked tree, and lintian.
#   packaging/check-package.sh BUILD-DIR WORK-DIR VERSION APPSTREAM-ID MODULE
#   (MODULE: the Hamlib module's path below the prefix; CPACK: the cpack to use)
set -eu
BUILD_DIR=$1
WORK=$2
VERSION=$3
APPSTREAM_ID=$4
MODULE=$5
CPACK=${CPACK:-cpack}

fail() {
    echo "check-package: $*" >&2
    exit 1
}

for tool in "$CPACK" dpkg-deb dpkg-shlibdeps fakeroot desktop-file-validate appstreamcli systemd-analyze man \
            lintian unshare; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

rm -rf "$WORK"
mkdir -p "$WORK/runtime"
chmod 700 "$WORK/runtime"

(cd "$BUILD_DIR" && "$CPACK" -G DEB -B "$WORK" >"$WORK/cpack.log" 2>&1) || { cat "$WORK/cpack.log"; fail "cpack failed"; }
DEB="$WORK/skyrel_${VERSION}_$(dpkg --print-architecture).deb"
[ -f "$DEB" ] || fail "no $(basename "$DEB"); cpack made: $(ls "$WORK")"

# Exactly these files: the programs, their Hamlib module and what the desktop, man and systemd need; no
# test, no benchmark.
dpkg-deb --fsys-tarfile "$DEB" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort >"$WORK/files"
sort >"$WORK/expected" <<EOF
/usr/bin/skyrel
/usr/bin/skyrel-dde
/usr/bin/skyrel-ephem
/usr/$MODULE
/usr/lib/systemd/user/skyrel.service
/usr/libexec/skyrel/skyrel-desktop
/usr/share/applications/skyrel.desktop
/usr/share/doc/skyrel/changelog.gz
/usr/share/doc/skyrel/copyright
/usr/share/icons/hicolor/128x128/apps/skyrel.png
/usr/share/icons/hicolor/16x16/apps/skyrel.png
/usr/share/icons/hicolor/256x256/apps/skyrel.png
/usr/share/icons/hicolor/32x32/apps/skyrel.png
/usr/share/icons/hicolor/48x48/apps/skyrel.png
/usr/share/icons/hicolor/64x64/apps/skyrel.png
/usr/share/man/man1/skyrel-dde.1.gz
/usr/share/man/man1/skyrel-ephem.1.gz
/usr/share/man/man1/skyrel.1.gz
/usr/share/metainfo/$APPSTREAM_ID.metainfo.xml
EOF
diff -u "$WORK/expected" "$WORK/files" || fail "the package's files differ from the list above (- expected, + packed)"

# The library dependencies come from dpkg-shlibdeps: the toolkit's libraries, the C library and Hamlib,
# which only the module links.
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for library in libc6 libqt6core6 libqt6widgets6 libqt6serialport6 libqt6network6 libhamlib; do
    echo "$DEPENDS" | grep -q "$library" || fail "Depends lacks $library: $DEPENDS"
done
[ "$(dpkg-deb -f "$DEB" Section)" = hamradio ] || fail "Section is not hamradio"

ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"
for size in 16 32 48 64 128 256; do
    file "$ROOT/usr/share/icons/hicolor/${size}x$size/apps/skyrel.png" | grep -q "PNG image data, $size x $size" ||
        fail "the ${size}x$size icon is not a $size x $size PNG"
done
# A hint is a suggestion, not a fault: HamRadio may be joined by Network or Audio, neither of which fits.
faults=$(desktop-file-validate "$ROOT/usr/share/applications/skyrel.desktop" | grep -v ': hint: ' || true)
[ -z "$faults" ] || fail "desktop-file-validate: $faults"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$APPSTREAM_ID.metainfo.xml" || fail "AppStream metadata refused"

# groff's warnings, as lintian reads them, for each manual page.
for page in "$ROOT"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# systemd finds a unit's program in a fixed list of folders, /usr/local/bin first: the unpacked programs are
# laid over it in a private mount namespace, and the manual pages are found through MANPATH, so the unit is
# verified as installed, with its Documentation= page. A line it cannot parse is only reported, with
# status 0, so any report fails the check.
# An unprivileged container or chroot cannot make namespaces: there the mount above, or systemd-analyze's
# own unshare, fails with "Operation not permitted" whatever the unit says. That one condition skips this
# one check, with its reason; any other report fails it.
report=$(unshare --mount --map-root-user sh -c '
    mount --bind "$1/usr/bin" /usr/local/bin &&
    XDG_RUNTIME_DIR="$2" MANPATH="$1/usr/share/man" systemd-analyze --user verify "$1/usr/lib/systemd/user/skyrel.service"' \
    verify "$ROOT" "$WORK/runtime" 2>&1) && verified=0 || verified=$?
case "$report" in
    *"unshare failed: Operation not permitted"* | "unshare: "*"Operation not permitted"*)
        echo "check-package: systemd-analyze verify skipped: this machine may not make namespaces ($report)" ;;
    *) [ $verified -eq 0 ] && [ -z "$report" ] || fail "systemd-analyze verify: skyrel.service: $report" ;;
esac

# The stripped program still runs.
"$ROOT/usr/bin/skyrel-ephem" --utc 2026-01-01T00:00:00 --lat 0 --lon 0 --height 0 | grep -q '^Moon elongation' ||
    fail "the packed skyrel-ephem does not print its figures"

# The packed station finds the packed Hamlib module, not the build's: it parks Hamlib's dummy rotator.
mkdir -p "$WORK/config/Brenlo Programs"
printf '[Hamlib]\nEnabled=True\nModel=1\n' >"$WORK/config/Brenlo Programs/Skyrel.conf"
XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime" "$ROOT/usr/bin/skyrel" --headless --track park \
    2>"$WORK/headless.log" &
STATION=$!
waited=0
until grep -q "$ROOT/usr/$MODULE" "/proc/$STATION/maps" 2>/dev/null || [ $waited -ge 200 ]; do
    sleep 0.1
    waited=$((waited + 1))
done
mapped=$(grep -c "$ROOT/usr/$MODULE" "/proc/$STATION/maps" 2>/dev/null || true)
kill "$STATION" 2>/dev/null || true
wait "$STATION" || true
[ "${mapped:-0}" -gt 0 ] || fail "the packed skyrel did not load /usr/$MODULE: $(cat "$WORK/headless.log")"

# Without --headless, the packed station hands its process over to the packed desktop program.
XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime" QT_QPA_PLATFORM=offscreen "$ROOT/usr/bin/skyrel" \
    2>"$WORK/desktop.log" &
STATION=$!
waited=0
until [ "$(readlink "/proc/$STATION/exe" 2>/dev/null)" = "$ROOT/usr/libexec/skyrel/skyrel-desktop" ] ||
    [ $waited -ge 200 ]; do
    sleep 0.1
    waited=$((waited + 1))
done
running=$(readlink "/proc/$STATION/exe" 2>/dev/null || true)
kill "$STATION" 2>/dev/null || true
wait "$STATION" || true
[ "$running" = "$ROOT/usr/libexec/skyrel/skyrel-desktop" ] ||
    fail "the packed skyrel did not start the packed desktop program: $(cat "$WORK/desktop.log")"

# Lintian: neither an error nor a warning. What it leaves are notes (I:): the toolkit-wide hardening
# flags (bindnow, fortify) that the project's compiler options do not set, and the .comment section.
lintian --fail-on error,warning --tag-display-limit 0 "$DEB" >"$WORK/lintian.log" 2>&1 ||
    fail "lintian found errors or warnings: $(grep -v 'root privileges' "$WORK/lintian.log")"
echo "package $(basename "$DEB") checked"
