#!/usr/bin/env bash
# The desktop program's CPU share of one core on its title, paused and
# playing screens, measured under a virtual X server (Xvfb) with the dummy
# audio driver. Needs Xvfb and xdotool (apt-get install xvfb xdotool).
#   bench/cpu_share.sh [BINARY] [SECONDS]   default build/default/orbitfend, 5 s per screen
set -euo pipefail
binary=${1:-build/default/orbitfend}
seconds=${2:-5}
work=$(mktemp -d)
display=":$((200 + $$ % 500))"
pid= xvfb=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
# A private runtime and config directory: no other copy, no player's settings.
export DISPLAY=$display SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work
"$binary" --settings "$work" >/dev/null 2>&1 &
pid=$!
window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -1)
xdotool windowfocus --sync "$window"

# Processor time (user and system, all threads) of the program, in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
measure() {
    local before after
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    awk -v name="$1" -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%-8s %5.1f %% of a core\n", name, 100 * t / (hz * s) }'
}
key() { xdotool key --window "$window" "$1"; }

sleep 2
measure title
key Return
sleep 3  # the round start's two seconds, then play
measure playing
key p
sleep 1
measure paused
key Escape
wait "$pid" || true
pid=
