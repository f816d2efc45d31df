#!/bin/bash
# Plays a session of SECONDS (default 120) on Xvfb with xdotool pressing keys,
# records it with --record and --trace, replays the recording headless, and
# compares the two state traces line by line.
#   tools/xvfb_replay_check.sh BINARY [SECONDS]
# Needs Xvfb and xdotool (apt-get install xvfb xdotool); exits 77 without them.
set -u
binary=$(realpath "$1")
seconds=${2:-120}
for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
display=:$((90 + RANDOM % 400))
Xvfb $display -screen 0 800x600x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1.5
export DISPLAY=$display SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/run
"$binary" --record "$work/session.rec" --trace "$work/live.jsonl" --settings "$work" 2>"$work/game.err" &
game=$!
window=$(xdotool search --sync --pid $game | head -1)
press() { xdotool keydown --window "$window" "$1"; sleep "$2"; xdotool keyup --window "$window" "$1"; }
start=$SECONDS
press Return 0.1
sleep 2.5
RANDOM=7
while [ $((SECONDS - start)) -lt $((seconds - 5)) ]; do
    case $((RANDOM % 9)) in
    0 | 1) press Left 0.$((RANDOM % 9 + 1)) ;;
    2 | 3) press Right 0.$((RANDOM % 9 + 1)) ;;
    4 | 5 | 6) press space 0.05 ;;
    7) press p 0.1; sleep 0.7; press p 0.1 ;;
    8) if [ $((RANDOM % 4)) = 0 ]; then press equal 0.3; else press Return 0.1; fi ;;
    esac
    sleep 0.$((RANDOM % 3))
done
# The game ends on the key going down; its window is gone before a key-up.
xdotool keydown --window "$window" Escape
wait $game || { echo "the live session failed:"; cat "$work/game.err"; exit 1; }
"$binary" --headless --replay "$work/session.rec" --trace "$work/replayed.jsonl" || exit 1
echo "recording: $(wc -l <"$work/session.rec") lines, $(grep -c '^event' "$work/session.rec") events"
echo "live trace: $(wc -l <"$work/live.jsonl") passes; replayed: $(wc -l <"$work/replayed.jsonl")"
if cmp -s "$work/live.jsonl" "$work/replayed.jsonl"; then
    echo "identical on every line"
else
    diff <(nl -ba "$work/live.jsonl") <(nl -ba "$work/replayed.jsonl") | head -5
    exit 1
fi
