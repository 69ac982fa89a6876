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

WORK=$(mktemp -d)
mkdir -p "$WORK/config/Brenlo Programs" "$WORK/runtime" "$DOCS"
chmod 700 "$WORK/runtime"
cat >"$WORK/config/Brenlo Programs/Skyrel.conf" <<CONF
[Startup]
Park%20Azm=40.6
Park%20Elev=25.3
[Hamlib]
Enabled=True
Model=2
Device=127.0.0.1:$PORT
Speed=9600
CONF

Xvfb $DISPLAY_NUMBER -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
rotctld -m 1 -T 127.0.0.1 -t $PORT &
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

# The dummy starts at 0/0 and turns 6 degrees a second: three seconds after the park command the
# antenna is on its way, so target, command and reported position show apart.
"$SKYREL" >/dev/null 2>&1 &
SKYREL_PID=$!
MAIN=$(xdotool search --sync --name '^Skyrel / Brenlo$' | head -1)
sleep 1
"$DDE" poke TRACK_PARK
sleep 3
import -window "$MAIN" "$DOCS/rotator-status.png"

# Menu > Rotator...: the seventh entry of the first menu.
xdotool mousemove --window "$MAIN" 20 10 click 1
sleep 0.5
xdotool key Down Down Down Down Down Down Down Return
DIALOG=$(xdotool search --sync --name '^Rotator$' | head -1)
sleep 0.5
xdotool mousemove --window "$DIALOG" 200 40 click 1
xdotool type --delay 40 'rotctl'
xdotool mousemove --window "$DIALOG" 50 589 click 1
sleep 1
import -window "$DIALOG" "$DOCS/rotator-dialog.png"
echo "docs/rotator-status.png docs/rotator-dialog.png written"
