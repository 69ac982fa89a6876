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

. "$ROOT/scripts/screenshot-session.sh"
screenshot_session $DISPLAY_NUMBER
mkdir -p "$DOCS"
cat >"$SETTINGS" <<'CONF'
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

start_skyrel "$SKYREL"
# Menu > Map: the third entry of the first menu.
open_window 3 '^  MAP'
MAP=$WINDOW

for view in earth celestial skynoise; do
    sleep 1
    import -window "$MAP" "$DOCS/map-$view.png"
    xdotool mousemove --window "$MAP" 250 120 click --repeat 2 --delay 80 1
done

# Menu > Calibration: the tenth entry of the first menu.
open_window 10 '^Calibration$'
sleep 2
import -window "$WINDOW" "$DOCS/calibration.png"
echo "docs/map-earth.png docs/map-celestial.png docs/map-skynoise.png docs/calibration.png written"
