#!/bin/sh
# Pictures of the Hamlib rotator at work, taken from the running program on a virtual X server with
# Hamlib's dummy rotator behind its network daemon: docs/rotator-dialog.png (Menu > Rotator...) and
# docs/rotator-status.png (the main window parking: target, commanded and reported positions, the error).
#   scripts/hamlib-screenshots.sh [path of the skyrel executable] [path of skyrel-dde]
# Needs Xvfb, xdotool, ImageMagick's import and rotctld (scripts/install-deps.sh installs them).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SKYREL=${1:-$ROOT/build/skyrel}
DDE=${2:-$ROOT/build/tools/skyrel-dde/skyrel-dde}
DOCS=$ROOT/docs
DISPLAY_NUMBER=:96
PORT=45433

. "$ROOT/scripts/screenshot-session.sh"
screenshot_session $DISPLAY_NUMBER
cat >"$SETTINGS" <<CONF
[Startup]
Park%20Azm=40.6
Park%20Elev=25.3
[Hamlib]
Enabled=True
Model=2
Device=127.0.0.1:$PORT
Speed=9600
CONF
beside_session rotctld -m 1 -T 127.0.0.1 -t $PORT
mkdir -p "$DOCS"

# The dummy starts at 0/0 and turns 6 degrees a second: three seconds after the park command the
# antenna is on its way, so target, command and reported position show apart.
start_skyrel "$SKYREL"
"$DDE" poke TRACK_PARK
sleep 3
import -window "$MAIN" "$DOCS/rotator-status.png"

# Menu > Rotator...: the seventh entry of the first menu.
open_window 7 '^Rotator$'
sleep 0.5
xdotool mousemove --window "$WINDOW" 200 40 click 1
xdotool type --delay 40 'rotctl'
xdotool mousemove --window "$WINDOW" 50 589 click 1
sleep 1
import -window "$WINDOW" "$DOCS/rotator-dialog.png"
echo "docs/rotator-status.png docs/rotator-dialog.png written"
