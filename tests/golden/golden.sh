#!/usr/bin/env bash
# The golden test: runs the headless program on key scripts that reach every
# mode and compares digests of what it wrote (the world trace, screenshots at
# several moments, the sound capture) with tests/golden/digests.txt.
#   golden.sh BINARY            compare; exit 1 on any difference
#   golden.sh BINARY --update   write the digests anew
set -euo pipefail
binary=$1
mode=${2:-check}
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A prefix of a recorded game: its key lines before `ms`.
game_until() { awk -v end="$2" '$1 ~ /^[0-9]+$/ && $1 < end' "$data/$1"; }

# One scenario: a name, a key script on stdin, then the program's arguments.
run() {
    local name=$1; shift
    local dir=$work/$name
    mkdir -p "$dir"
    cat > "$dir/keys"
    local shots=() ms
    for ms in $SHOTS; do shots+=(--screenshot "$ms:$dir/shot-$ms.png"); done
    "$binary" --headless --keys "$dir/keys" --trace "$dir/trace.jsonl" --trace-world \
        --wav "$dir/sound.wav" "${shots[@]}" "$@" >/dev/null 2>&1 || echo "exit $?" > "$dir/exit"
    (cd "$dir" && for f in $(ls | grep -v '^keys$' | sort); do
        printf '%s %s %s\n' "$name" "$f" "$(sha256sum < "$f" | cut -c1-64)"
    done)
}

# When each mode of the recorded demo game is under way (ms).
title=500 roundstart=1000 playing=20000 paused=30500 lifelost=117000 gameover=153000

{
SHOTS="1000 2900" run title --until 3000 < /dev/null
SHOTS="2900" run title-rot90 --until 3000 --layout rot90 < /dev/null
SHOTS="2900" run title-flipy-555 --until 3000 --layout flipy --pixel-format 555 < /dev/null
SHOTS="2500 60000 117000 123500 152000 156000" run demo-game --until 160000 < "$data/demo_game.keys"
SHOTS="30000 60000 89000" run invasion-game --until 90000 < "$data/invasion_game.keys"
SHOTS="20000" run demo-game-rot90-555 --until 25000 --layout rot90 --pixel-format 555 < "$data/demo_game.keys"
SHOTS="" run demo-game-no-sound --until 25000 --no-sound < "$data/demo_game.keys"
SHOTS="3000" run no-fire-sound --until 8000 --drop-resource WAVE:130 --drop-resource BITMAP:104 < "$data/demo_game.keys"

# Pause and resume, twice, in the middle of a game.
SHOTS="31000" run pauses --until 40000 < <(
    game_until demo_game.keys 30000
    printf '%s\n' "30000 down 121" "30040 up 121" "33000 down 121" "33040 up 121" \
                  "36000 down 121" "36040 up 121" "36500 down 121" "36540 up 121")

# The volume keys held past both limits, with sounds playing.
SHOTS="" run volume-limits --until 12000 < <(
    printf '%s\n' "200 down 117" "2400 up 117" "2500 down 13" "2540 up 13" \
                  "4700 down 120" "4720 up 120" "5000 down 118" "7500 up 118" "7600 down 120" "7620 up 120" \
                  "8000 down 117" "8100 up 117" "8200 down 120" "8220 up 120" "9000 down 117" "9100 down 118" "9600 up 117" "9700 up 118")

# The back key, and the loss of activation, in every mode.
for way in back deactivate; do
    for m in title roundstart playing paused lifelost gameover; do
        at=${!m}
        SHOTS="" run "$way-in-$m" --until $((at + 2000)) < <(
            game_until demo_game.keys "$at"
            if [ "$m" = paused ]; then printf '%s\n' "30000 down 121" "30040 up 121"; fi
            if [ "$way" = back ]; then echo "$at down 27"; else echo "$at deactivate"; fi)
    done
done
} > "$work/digests.txt"

if [ "$mode" = --update ]; then
    cp "$work/digests.txt" "$here/digests.txt"
    echo "golden: $(wc -l < "$here/digests.txt") digests written"
elif diff -u "$here/digests.txt" "$work/digests.txt"; then
    echo "golden: $(wc -l < "$work/digests.txt") digests unchanged"
else
    echo "golden: the program's output changed (above: - expected, + now)"
    exit 1
fi
