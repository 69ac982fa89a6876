#!/bin/sh
# Starts the tracker; with no display at all it runs on Qt's offscreen platform, so the cycle, the serial
# output and the local endpoint still work headless.
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ] && [ -z "$QT_QPA_PLATFORM" ]; then
    export QT_QPA_PLATFORM=offscreen
fi
exec "$@"
