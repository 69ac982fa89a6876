#!/bin/sh
# Installs the Debian packages the build, the tests and the asset generators need, when any is missing.
set -e
PACKAGES="build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev
libbenchmark-dev fonts-liberation2 xvfb xauth x11-utils xdotool imagemagick socat locales clang libclang-rt-14-dev"

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
