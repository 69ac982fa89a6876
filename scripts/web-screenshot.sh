#!/bin/sh
# The picture of the web page in docs/: a headless station serving its page on loopback, with a DX in the
# planner and tracking the Moon, photographed by headless chromium at a phone's width after logging in
# with the address skyrel --web-url prints.
# Usage: scripts/web-screenshot.sh [path/to/skyrel] [out.png]
set -e
SKYREL=${1:-build/skyrel}
OUT=${2:-docs/web-page.png}
PORT=18273
WORK=$(mktemp -d)
trap 'kill $STATION_PID 2>/dev/null; wait $STATION_PID 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/config/Brenlo Programs" "$WORK/runtime" "$WORK/chromium"
chmod 700 "$WORK/runtime"
cat > "$WORK/config/Brenlo Programs/Skyrel.conf" <<CONF
[Startup]
Com%20Port=0
[Planner]
DX%201=W1AW FN31pr
[Web]
Enabled=True
Port=$PORT
CONF
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
URL=$("$SKYREL" --web-url)
"$SKYREL" --headless --track moon 2>"$WORK/station.log" &
STATION_PID=$!
sleep 2
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$WORK/chromium" \
    --window-size=420,1900 --virtual-time-budget=8000 --screenshot="$WORK/page.png" "$URL" 2>/dev/null
cp "$WORK/page.png" "$OUT"
echo "wrote $OUT"
