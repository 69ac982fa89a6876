#!/bin/bash
# A long real run: the tracker for MINUTES (default 60) tracking Park onto a socat pseudo-terminal, with
# an advised endpoint client connected throughout. Prints the lines expected and received, the largest gap
# between two lines, and the tracker's resident memory at start and end.
# Usage: scripts/soak.sh BUILD_DIR [MINUTES]
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="$1"
MINUTES="${2:-60}"
SKYREL="$BUILD_DIR/skyrel"
DDE="$BUILD_DIR/tools/skyrel-dde/skyrel-dde"
# Seconds after the start at which the starting resident memory is read: start-up is over by then.
SETTLE_SECONDS=10

work="$(mktemp -d /tmp/skyrel-soak-XXXXXX)"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME/Brenlo Programs" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cat >"$XDG_CONFIG_HOME/Brenlo Programs/Skyrel.conf" <<EOF
[Startup]
Com%20Port=1
Baud%20Rate=3
Output%20Format=Nova
Park%20Azm=123.4
Park%20Elev=45.6

[Ports]
1=$work/ttyA
EOF

socat pty,raw,echo=0,link="$work/ttyA" pty,raw,echo=0,link="$work/ttyB" &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/ttyB" ] && break; sleep 0.1; done

# Every line that arrives, with its arrival time in seconds.
# (The read fails once socat goes at the end.)
(while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done <"$work/ttyB") >"$work/lines" 2>/dev/null &
pids+=($!)

"$SKYREL" 2>"$work/skyrel.log" &
skyrel_pid=$!
pids+=($skyrel_pid)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/Skyrel" ] && break; sleep 0.1; done
"$DDE" advise >"$work/notices" 2>/dev/null &
advise_pid=$!
pids+=($advise_pid)
sleep 1
"$DDE" poke TRACK_SER >/dev/null
"$DDE" poke TRACK_PARK >/dev/null
started=$EPOCHREALTIME

sleep "$SETTLE_SECONDS"
rss_start=$(awk '/^VmRSS/ {print $2}' "/proc/$skyrel_pid/status")
sleep $((MINUTES * 60 - SETTLE_SECONDS))
rss_end=$(awk '/^VmRSS/ {print $2}' "/proc/$skyrel_pid/status")
stopped=$EPOCHREALTIME
"$DDE" poke TRACK_OFF >/dev/null
sleep 1

awk -v load="$(cut -d' ' -f1-3 /proc/loadavg)" -v start="$started" -v stop="$stopped" -v rss0="$rss_start" -v rss1="$rss_end" '
    $1 >= start && $1 <= stop && $2 == "Park" {
        if (n > 0 && $1 - last > gap) gap = $1 - last
        last = $1; n++
    }
    END {
        printf "minutes: %d\nlines expected: %d\nlines received: %d\nlargest gap: %.2f s\n", \
            (stop - start) / 60, int(stop - start), n, gap
        printf "RSS at start: %d kB\nRSS at end: %d kB\n", rss0, rss1
        printf "load average at the end: %s\n", load
    }' "$work/lines"
# Output goes to the serial port, so the item changes only at the three pokes.
notices=$(grep -c '^TRACK_' "$work/notices" || true)
echo "advised client: $(kill -0 "$advise_pid" 2>/dev/null && echo connected || echo gone), $notices of 3 notices"
"$DDE" poke TRACK_SHUT >/dev/null || true
