#!/bin/sh
# Pictures of the map window's three views, taken from the running program on a virtual X server with
# every map switch on: docs/map-earth.png, docs/map-celestial.png, docs/map-skynoise.png; and of the
# calibration window with a 3 m dish, the day's solar flux at two frequencies and a Y-factor measured at
# 1296 MHz: docs/calibration.png.
#   scripts/map-screenshots.sh [path of the skyrel executable]
# Needs Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SKYREL=${1:-$ROOT/build/skyrel}
DOCS=$ROOT/docs
DISPLAY_NUMBER=:97

WORK=$(mktemp -d)
mkdir -p "$WORK/config/Brenlo Programs" "$WORK/runtime" "$DOCS"
chmod 700 "$WORK/runtime"
cat >"$WORK/config/Brenlo Programs/Skyrel.conf" <<'CONF'
[Startup]
Sun%20Shadow=true
Moon%20Shadow=true
Sun%20Horizon=true
Moon%20Horizon=true
Sun%20Sub%20Pt=true
Moon%20Sub%20Pt=true
[Calibration]
Dish%20Diameter=3
Efficiency=0.55
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
# Menu > Map: the third entry of the first menu.
xdotool mousemove --window "$MAIN" 20 10 click 1
sleep 0.5
xdotool key Down Down Down Return
MAP=$(xdotool search --sync --name '^  MAP' | head -1)

for view in earth celestial skynoise; do
    sleep 1
    import -window "$MAP" "$DOCS/map-$view.png"
    xdotool mousemove --window "$MAP" 250 120 click --repeat 2 --delay 80 1
done

# Menu > Calibration: the ninth entry of the first menu.
xdotool mousemove --window "$MAIN" 20 10 click 1
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down Return
CALIBRATION=$(xdotool search --sync --name '^Calibration$' | head -1)
sleep 2
import -window "$CALIBRATION" "$DOCS/calibration.png"
echo "docs/map-earth.png docs/map-celestial.png docs/map-skynoise.png docs/calibration.png written"
