# Shared by the scripts that photograph the desktop program (sourced, not run): a private settings folder
# and runtime folder, a virtual X server, programs started beside it and all of it gone at exit.
#   screenshot_session DISPLAY_NUMBER   makes $WORK and $SETTINGS (the settings file to write), starts Xvfb
#   beside_session COMMAND...           starts a program (a Hamlib daemon) that ends with the session
#   start_skyrel PROGRAM                starts the desktop program and sets $MAIN to its main window
#   open_menu_entry N                   opens the N-th entry of the main window's first menu
#   open_window N NAME                  the same, then sets $WINDOW to the window whose name matches NAME
# Needs Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).

SESSION_PIDS=""

end_session() {
    # Started last, stopped first: the program before the daemon it talks to, the X server last.
    for pid in $SESSION_PIDS; do kill "$pid" 2>/dev/null; done
    rm -rf "$WORK"
}

screenshot_session() {
    WORK=$(mktemp -d)
    mkdir -p "$WORK/config/Brenlo Programs" "$WORK/runtime"
    chmod 700 "$WORK/runtime"
    SETTINGS="$WORK/config/Brenlo Programs/Skyrel.conf"
    Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    SESSION_PIDS="$!"
    trap end_session EXIT
    export DISPLAY="$1" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
    sleep 1
}

beside_session() {
    "$@" &
    SESSION_PIDS="$! $SESSION_PIDS"
    # A daemon listening before the program's first connection spares its five-second retry.
    sleep 1
}

start_skyrel() {
    "$1" >/dev/null 2>&1 &
    SESSION_PIDS="$! $SESSION_PIDS"
    MAIN=$(xdotool search --sync --name '^Skyrel / Brenlo$' | head -1)
    sleep 1
}

open_menu_entry() {
    xdotool mousemove --window "$MAIN" 20 10 click 1
    sleep 0.5
    keys=""
    n=0
    while [ "$n" -lt "$1" ]; do keys="$keys Down"; n=$((n + 1)); done
    # shellcheck disable=SC2086
    xdotool key $keys Return
}

open_window() {
    open_menu_entry "$1"
    WINDOW=$(xdotool search --sync --name "$2" | head -1)
}
