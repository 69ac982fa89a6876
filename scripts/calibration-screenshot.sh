#!/bin/sh
# A picture of the calibration window (Menu > Calibration) taken from the running program on a virtual X
# server, with a 3 m dish, the day's solar flux at two frequencies and a Y-factor measured at 1296 MHz:
# docs/calibration.png.
#   scripts/calibration-screenshot.sh [path of the skyrel executable]
# Needs Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SKYREL=${1:-$ROOT/build/skyrel}
DOCS=$ROOT/docs
DISPLAY_NUMBER=:97

WORK=$(mktemp -d)
mkdir -p "$WORK/config/Brenlo Programs" "$WORK/runtime" "$DOCS"
chmod 700 "$WORK/runtime"
cat >"$WORK/config/Brenlo Programs/Skyrel.conf" <<CONF
[Calibration]
Dish%20Diameter=3
Efficiency=0.55
Moon%20Temperature=210
Solar%20Flux="2800:120,1415:85"
Flux%20Date=2026-12-07
Measured%20Y%201296=12.5
CONF

Xvfb $DISPLAY_NUMBER -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
SKYREL_PID=""
cleanup() {
    [ -n "$SKYREL_PID" ] && kill "$SKYREL_PID" 2>/dev/null
    kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
export DISPLAY=$DISPLAY_NUMBER XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
sleep 1

"$SKYREL" >/dev/null 2>&1 &
SKYREL_PID=$!
MAIN=$(xdotool search --sync --name '^Skyrel / Brenlo$' | head -1)
sleep 1
# Menu > Calibration: the ninth entry of the first menu.
xdotool mousemove --window "$MAIN" 20 10 click 1
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down Return
WINDOW=$(xdotool search --sync --name '^Calibration$' | head -1)
sleep 2
import -window "$WINDOW" "$DOCS/calibration.png"
echo "docs/calibration.png written"
