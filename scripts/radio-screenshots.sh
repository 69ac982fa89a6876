#!/bin/sh
# Pictures of the radio following the Moon's Doppler, taken from the running program on a virtual X server
# with Hamlib's dummy radio behind its network daemon: docs/radio-dialog.png (Menu > Radio...) and
# docs/radio-status.png (the EME window with the radio's line).
#   scripts/radio-screenshots.sh [path of the skyrel executable]
# Needs Xvfb, xdotool, ImageMagick's import and rigctld (scripts/install-deps.sh installs them).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SKYREL=${1:-$ROOT/build/skyrel}
DOCS=$ROOT/docs
DISPLAY_NUMBER=:97
PORT=45432

. "$ROOT/scripts/screenshot-session.sh"
screenshot_session $DISPLAY_NUMBER
cat >"$SETTINGS" <<CONF
[Radio]
Enabled=True
Model=2
Device=127.0.0.1:$PORT
Mode=Own Echo
Rx%20Sky=1296050000
Tx%20Sky=1296050000
Step=1
CONF
beside_session rigctld -m 1 -T 127.0.0.1 -t $PORT
mkdir -p "$DOCS"

start_skyrel "$SKYREL"

# Menu > EME: the fourth entry of the first menu.
open_window 4 'EME$'
sleep 3
import -window "$WINDOW" "$DOCS/radio-status.png"

# Menu > Radio...: the eighth entry.
open_window 8 '^Radio$'
sleep 0.5
xdotool mousemove --window "$WINDOW" 200 40 click 1
xdotool type --delay 40 'rigctl'
sleep 1
import -window "$WINDOW" "$DOCS/radio-dialog.png"
echo "docs/radio-status.png docs/radio-dialog.png written"
