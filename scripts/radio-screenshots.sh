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

WORK=$(mktemp -d)
mkdir -p "$WORK/config/Brenlo Programs" "$WORK/runtime" "$DOCS"
chmod 700 "$WORK/runtime"
cat >"$WORK/config/Brenlo Programs/Skyrel.conf" <<CONF
[Radio]
Enabled=True
Model=2
Device=127.0.0.1:$PORT
Mode=Own Echo
Rx%20Sky=1296050000
Tx%20Sky=1296050000
Step=1
CONF

Xvfb $DISPLAY_NUMBER -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
rigctld -m 1 -T 127.0.0.1 -t $PORT &
DAEMON_PID=$!
SKYREL_PID=""
cleanup() {
    [ -n "$SKYREL_PID" ] && kill "$SKYREL_PID" 2>/dev/null
    kill "$DAEMON_PID" "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
export DISPLAY=$DISPLAY_NUMBER XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
sleep 1

"$SKYREL" >/dev/null 2>&1 &
SKYREL_PID=$!
MAIN=$(xdotool search --sync --name '^Skyrel / Brenlo$' | head -1)
sleep 1

# Menu > EME: the fourth entry of the first menu.
xdotool mousemove --window "$MAIN" 20 10 click 1
sleep 0.5
xdotool key Down Down Down Down Return
EME=$(xdotool search --sync --name 'EME$' | head -1)
sleep 3
import -window "$EME" "$DOCS/radio-status.png"

# Menu > Radio...: the eighth entry.
xdotool mousemove --window "$MAIN" 20 10 click 1
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Return
DIALOG=$(xdotool search --sync --name '^Radio$' | head -1)
sleep 0.5
xdotool mousemove --window "$DIALOG" 200 40 click 1
xdotool type --delay 40 'rigctl'
sleep 1
import -window "$DIALOG" "$DOCS/radio-dialog.png"
echo "docs/radio-status.png docs/radio-dialog.png written"
