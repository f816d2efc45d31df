#!/usr/bin/env bash
# install_tree.sh BUILD_DIR: installs the build under a scratch DESTDIR with
# prefix /usr and checks what a player's system would receive: the exact
# tree, the icons' sizes, the manual pages covering every option the programs
# accept, and the desktop, AppStream and manual-page validators. Exits 77
# (skipped) naming any validator that is not installed, once all else passed.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr

expected=$(cat <<'TREE'
bin/orbitfend-modplay
games/orbitfend
share/applications/orbitfend.desktop
share/doc/orbitfend/changelog.gz
share/doc/orbitfend/copyright
share/icons/hicolor/128x128/apps/orbitfend.png
share/icons/hicolor/16x16/apps/orbitfend.png
share/icons/hicolor/256x256/apps/orbitfend.png
share/icons/hicolor/32x32/apps/orbitfend.png
share/icons/hicolor/48x48/apps/orbitfend.png
share/icons/hicolor/64x64/apps/orbitfend.png
share/man/man1/orbitfend-modplay.1.gz
share/man/man6/orbitfend.6.gz
share/metainfo/org.quelm.orbitfend.metainfo.xml
TREE
)
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    fail "the installed tree differs from the expected one:"
    diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual") || true
fi
for program in games/orbitfend bin/orbitfend-modplay; do
    [ -x "$root/$program" ] || fail "$program is not installed as an executable"
done

# The width and height in a PNG's header, as "W H".
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }
for size in 16 32 48 64 128 256; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/orbitfend.png
    [ -f "$icon" ] || continue
    [ "$(png_size "$icon")" = "$size $size" ] || fail "$icon is $(png_size "$icon"), not $size x $size"
done

# Every long option a program's --help lists appears in its manual page.
documents_every_option() {
    local program=$1 page=$2 text options option
    local name=${program##*/}
    text=$(zcat "$page" | sed 's/\\-/-/g')
    options=$("$root/$program" --help 2>&1 | grep -o -- '--[a-z][a-z-]*' | sort -u || true)
    [ -n "$options" ] || fail "$name --help lists no options"
    for option in $options; do
        grep -qE -- "${option}([^a-z-]|$)" <<<"$text" || fail "$page does not describe $name's $option"
    done
}
documents_every_option games/orbitfend "$root/share/man/man6/orbitfend.6.gz"
documents_every_option bin/orbitfend-modplay "$root/share/man/man1/orbitfend-modplay.1.gz"

# Every document names the version the game reports, so a release cannot
# leave one of them behind.
version=$("$root/games/orbitfend" --version | awk '{print $2}')
zcat "$root/share/doc/orbitfend/changelog.gz" | sed -n 1p | grep -qF "orbitfend ($version)" ||
    fail "the changelog's latest entry is not version $version"
grep -qF "<release version=\"$version\"" "$root/share/metainfo/org.quelm.orbitfend.metainfo.xml" ||
    fail "the metainfo lists no release $version"
for page in "$root"/share/man/man*/*.gz; do
    zcat "$page" | grep -q "^\.TH .*\"orbitfend $version\"" || fail "$page is not marked orbitfend $version"
done

# The validators, each silent about every file (appstreamcli only says that
# all is well, and its pedantic hints count as faults here).
missing=()
have() { command -v "$1" >/dev/null || { missing+=("$1"); return 1; }; }
if have desktop-file-validate; then
    output=$(desktop-file-validate "$root/share/applications/orbitfend.desktop" 2>&1) && [ -z "$output" ] ||
        { fail "desktop-file-validate:"; echo "$output"; }
fi
if have appstreamcli; then
    # The metainfo checked together with the desktop entry it launches.
    output=$(appstreamcli validate-tree --no-net --pedantic "$stage" 2>&1) &&
        ! grep -q '^ *[EWIP]:' <<<"$output" || { fail "appstreamcli validate-tree:"; echo "$output"; }
fi
if have man; then
    for page in "$root/share/man/man6/orbitfend.6.gz" "$root/share/man/man1/orbitfend-modplay.1.gz"; do
        output=$(man --warnings -l "$page" 2>&1 >/dev/null) && [ -z "$output" ] ||
            { fail "man --warnings -l $page:"; echo "$output"; }
    done
fi

[ "$failed" -eq 0 ] || exit 1
if [ ${#missing[@]} -gt 0 ]; then
    echo "skipped: the tree is right, but these validators are not installed: ${missing[*]} (bash tools/dev.sh package installs them)"
    exit 77
fi
echo "the installed tree and every validator are clean"
