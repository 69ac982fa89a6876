#!/bin/sh
# Starts the tracker; with no display at all it runs as the headless station (skyrel --headless), so the
# cycle, the serial output and the local endpoint still work on a station computer without a screen.
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ] && [ -z "$QT_QPA_PLATFORM" ]; then
    exec "$@" --headless
fi
exec "$@"
