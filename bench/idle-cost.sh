#!/bin/sh
# The idle cost of the headless station against the desktop program on Xvfb, measured side by side in
# one run: CPU time per second of wall time and resident memory over a minute, nothing tracking.
# Each program gets its own settings home and runtime directory, so both run at once and neither
# touches the user's. Beside them run the smallest programs of each kind (bench/idlefloor): an event loop
# whose one-second timer does nothing, and a window whose one label shows the time. On a virtual machine
# a wake-up a second costs much of the whole, and more the idler the machine is: the floor, measured in
# the same minute, tells what part of the figures is the machine's.
# Usage: bench/idle-cost.sh [path/to/skyrel] [seconds]
set -e
SKYREL=${1:-build/skyrel}
SECONDS_TO_RUN=${2:-60}
FLOOR=$(dirname "$SKYREL")/bench/skyrel_idle_floor
WORK=$(mktemp -d)
# The programs end before the display they draw on.
trap 'kill $DESKTOP_PID $HEADLESS_PID $TIMER_PID $CLOCK_PID 2>/dev/null
      wait $DESKTOP_PID $HEADLESS_PID $TIMER_PID $CLOCK_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; rm -rf "$WORK"' EXIT

for copy in desktop headless floor; do
    mkdir -p "$WORK/$copy/config" "$WORK/$copy/runtime"
    chmod 700 "$WORK/$copy/runtime"
done

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
while [ ! -s "$WORK/display" ]; do sleep 0.1; done

env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$(cat "$WORK/display")" \
    XDG_CONFIG_HOME="$WORK/desktop/config" XDG_RUNTIME_DIR="$WORK/desktop/runtime" "$SKYREL" &
DESKTOP_PID=$!
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    XDG_CONFIG_HOME="$WORK/headless/config" XDG_RUNTIME_DIR="$WORK/headless/runtime" "$SKYREL" --headless \
    2>/dev/null &
HEADLESS_PID=$!
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$FLOOR" timer &
TIMER_PID=$!
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$(cat "$WORK/display")" XDG_RUNTIME_DIR="$WORK/floor/runtime" \
    "$FLOOR" clock &
CLOCK_PID=$!

# Start-up is not idle: measure from the fifth second on.
sleep 5
# Nanoseconds on a CPU, every thread of the process summed (the scheduler's own count, far finer than
# the 10 ms ticks of /proc/PID/stat).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d", sum }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
DESKTOP_START=$(cpu_ns $DESKTOP_PID)
HEADLESS_START=$(cpu_ns $HEADLESS_PID)
TIMER_START=$(cpu_ns $TIMER_PID)
CLOCK_START=$(cpu_ns $CLOCK_PID)
DESKTOP_PEAK=0
HEADLESS_PEAK=0
i=0
while [ $i -lt "$SECONDS_TO_RUN" ]; do
    sleep 1
    d=$(rss_kb $DESKTOP_PID); [ "$d" -gt "$DESKTOP_PEAK" ] && DESKTOP_PEAK=$d
    h=$(rss_kb $HEADLESS_PID); [ "$h" -gt "$HEADLESS_PEAK" ] && HEADLESS_PEAK=$h
    i=$((i + 1))
done
DESKTOP_CPU=$(($(cpu_ns $DESKTOP_PID) - DESKTOP_START))
HEADLESS_CPU=$(($(cpu_ns $HEADLESS_PID) - HEADLESS_START))
TIMER_CPU=$(($(cpu_ns $TIMER_PID) - TIMER_START))
CLOCK_CPU=$(($(cpu_ns $CLOCK_PID) - CLOCK_START))

report() {
    awk -v name="$1" -v ns="$2" -v secs="$SECONDS_TO_RUN" -v rss="$3" \
        'BEGIN { printf "%-13s CPU %.3f ms per second", name, ns / 1e6 / secs
                 if (rss != "") printf "   RSS %.1f MB (peak over %d s)", rss / 1024, secs
                 printf "\n" }'
}
report headless "$HEADLESS_CPU" "$HEADLESS_PEAK"
report desktop "$DESKTOP_CPU" "$DESKTOP_PEAK"
report "floor: timer" "$TIMER_CPU"
report "floor: clock" "$CLOCK_CPU"
