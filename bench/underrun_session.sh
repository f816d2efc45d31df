#!/bin/bash
# Plays the desktop program for MINUTES on Xvfb, xdotool at the keys (moves,
# shots, a new game after each end; never the pause), its sound going to a
# PulseAudio null sink of its own: a sink that takes the sound at the rate's
# pace by the system's clock, from a real-time thread, as a sound card's
# driver does. PulseAudio passes each stream's requests and data through its
# main thread, an ordinary one, which a loaded machine delays by up to 200 ms;
# a card under ALSA, or PipeWire, has only real-time threads on that path.
# So the main thread is put in the real-time class too (PULSE_MAIN_RT=0
# leaves it ordinary). With LOAD_DIR (a configured Ninja build folder, no
# compiler cache) a build loop of -j3 keeps the machine busy meanwhile.
# Each of the sink, the build loop and the program runs in a session of its
# own, as when they are started from a desktop and from another terminal:
# where the kernel groups sessions (autogroup), each session takes its fair
# share of the processors as one, whatever its threads' nice values.
# Reports the program's own underrun count ("the sound device ran dry"), the
# sink's underruns of the program's stream, and the load average.
#   bench/underrun_session.sh BINARY [MINUTES] [LOAD_DIR]
# SDL_AUDIODRIVER=dummy plays to SDL's dummy driver instead; KEEP_PULSE_LOG=FILE
# keeps the sink's log; ORBITFEND_SOUND_TIMELINE=FILE keeps the program's.
# Needs Xvfb, xdotool and pulseaudio (Debian packages of those names).
set -u
binary=$(realpath "$1")
minutes=${2:-10}
load_dir=${3:-}
for tool in Xvfb xdotool pulseaudio pactl; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -- -"$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run HOME=$work
setsid pulseaudio --daemonize=no --exit-idle-time=-1 -n -L "module-null-sink sink_name=card" \
    -L module-native-protocol-unix --log-level=debug --log-time=1 --log-target=file:"$work/pulse.log" >/dev/null 2>&1 &
pids+=($!)
pulse=$!
display=:$((90 + RANDOM % 400))
setsid Xvfb $display -screen 0 800x600x24 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
[ "${PULSE_MAIN_RT:-1}" != 0 ] && chrt -r -p 5 $pulse
sleep 1
if [ -n "$load_dir" ]; then
    setsid bash -c 'while :; do ninja -C "$0" -t clean >/dev/null; ninja -C "$0" -j3 >/dev/null 2>&1; done' "$load_dir" &
    pids+=($!)
    sleep 20
fi
export DISPLAY=$display SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-pulseaudio}
setsid "$binary" --settings "$work" 2>"$work/game.err" &
game=$!
window=$(xdotool search --sync --pid $game | head -1)
press() { xdotool keydown --window "$window" "$1"; sleep "$2"; xdotool keyup --window "$window" "$1"; }
start=$SECONDS
loads=()
next_sample=$SECONDS
RANDOM=11
press Return 0.1
while [ $((SECONDS - start)) -lt $((minutes * 60)) ]; do
    case $((RANDOM % 8)) in
    0 | 1) press Left 0.$((RANDOM % 9 + 1)) ;;
    2 | 3) press Right 0.$((RANDOM % 9 + 1)) ;;
    4 | 5 | 6) press space 0.05 ;;
    7) press Return 0.1 ;;
    esac
    sleep 0.$((RANDOM % 3))
    if [ $SECONDS -ge $next_sample ]; then
        loads+=("$(cut -d' ' -f1 /proc/loadavg)")
        next_sample=$((SECONDS + 30))
    fi
done
xdotool keydown --window "$window" Escape
wait $game
status=$?
played=$((SECONDS - start))
echo "played ${played} s on Xvfb, SDL audio driver $SDL_AUDIODRIVER; program exit $status"
dry=$(grep -o 'ran dry [0-9]*' "$work/game.err" | grep -o '[0-9]*$')
echo "program's underruns (the engine's buffers found empty): ${dry:-0}"
# The stream runs dry once more as the program closes it: an underrun that
# the sink's going idle follows within 50 ms is not counted.
sink_dry=$(awk -F'[(|]' '/Implicit underrun of|Underrun on/ { if (pending) kept++; last = $2 + 0; pending = 1 }
    /RUNNING -> IDLE/ { if (pending && $2 - last > 0.05) kept++; pending = 0 }
    END { if (pending) kept++; print kept + 0 }' "$work/pulse.log")
[ "$SDL_AUDIODRIVER" = pulseaudio ] && echo "sink's underruns of the program's stream, during play: $sink_dry"
echo "load average (1 min), every 30 s: ${loads[*]}"
[ -s "$work/game.err" ] && sed 's/^/program: /' "$work/game.err"
[ -n "${KEEP_PULSE_LOG:-}" ] && cp "$work/pulse.log" "$KEEP_PULSE_LOG"
exit 0
