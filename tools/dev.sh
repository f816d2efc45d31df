#!/usr/bin/env bash
# Set-up and everyday commands on a Debian 12 machine (run as root, or with
# sudo available): installs whatever is missing, builds, and then
#   play      starts the game
#   test      runs every test
#   sanitize  runs every test under ASan+UBSan and under TSan
#   bench     builds and runs the benchmarks
#   web       builds the WebAssembly module and the page into build/web and
#             serves them on 127.0.0.1:8080 (--no-serve: build only)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libsdl2-dev libstb-dev nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev)
case "${1:-}" in
  bench) packages+=(libopenmpt-dev libxmp-dev) ;;
  web) packages=(cmake ninja-build nlohmann-json3-dev libstb-dev libcli11-dev clang-14 lld-14 llvm-14 wasi-libc
                 libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32)
       command -v node >/dev/null || packages+=(nodejs) ;;
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
  web)
    install_missing
    build web
    [ "${2:-}" = "--no-serve" ] && exit 0
    exec node web/tools/serve.mjs build/web 8080
    ;;
  *)
    echo "usage: tools/dev.sh play|test|sanitize|bench|web [--no-serve]" >&2
    exit 2
    ;;
esac
