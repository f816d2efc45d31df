#!/usr/bin/env bash
# Set-up and everyday commands on a Debian 12 machine (run as root, or with
# sudo available): installs whatever is missing, builds, and then
#   play      starts the game
#   test      runs every test
#   sanitize  runs every test under ASan+UBSan and under TSan
#   bench     builds and runs the benchmarks, and installs the peer players
#             (openmpt123, xmp) that bench/compare_peers compares with
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libsdl2-dev libstb-dev nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev)
case "${1:-}" in
  # The benchmarks link the peer libraries; bench/compare_peers runs the peer players.
  bench) packages+=(libopenmpt-dev libxmp-dev openmpt123 xmp python3-numpy) ;;
esac

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

case "${1:-}" in
  play)
    install_missing
    build default
    shift
    exec ./build/default/orbitfend "$@"
    ;;
  test)
    install_missing
    build default
    ctest --preset default
    ;;
  sanitize)
    install_missing
    build asan
    ctest --preset asan
    build tsan
    ctest --preset tsan
    ;;
  bench)
    install_missing
    build bench
    for b in build/bench/bench/orbitfend_bench_*; do [ -x "$b" ] && "$b"; done
    ;;
  *)
    echo "usage: tools/dev.sh play|test|sanitize|bench" >&2
    exit 2
    ;;
esac
