#!/bin/sh
# Installs the Debian packages the build, the tests and the asset generators need, when any is missing.
# The last line of packages builds the Debian package and checks it (make package, the package test).
set -e
PACKAGES="build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev qt6-httpserver-dev qt6-websockets-dev
libgtest-dev libgmock-dev libbenchmark-dev liberfa-dev pkg-config fonts-liberation2 xvfb xauth x11-utils xdotool imagemagick socat locales chromium
libhamlib-dev libhamlib-utils
dpkg-dev fakeroot lintian desktop-file-utils appstream systemd man-db file clang
libclang-rt-14-dev"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# The tests run a second time under a German locale (',' as decimal separator); make it when missing.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$'; then
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "de_DE.UTF-8 locale not made; tests run once"
fi
