#!/usr/bin/env bash
# Set-up and everyday commands on a Debian 12 machine (run as root, or with
# sudo available): installs whatever is missing, builds, and then
#   play      starts the game
#   test      runs every test
#   sanitize  runs every test under ASan+UBSan and under TSan
#   bench     builds and runs the benchmarks, and installs the peer players
#             (openmpt123, xmp) that bench/compare_peers compares with
#   web       builds the WebAssembly module and the page into build/web and
#             serves them on 127.0.0.1:8080 (--no-serve: build only)
#   package   checks the install tree with its validators and makes the
#             Debian package build/package/orbitfend_<version>_<arch>.deb
#   fuzz [MINUTES]  runs each fuzz target in turn (default 10 minutes each)
#   soak [SEEDS] [MINUTES]  random key scripts through the headless program
set -euo pipefail
cd "$(dirname "$0")/.."

# What the WebAssembly build needs: Debian's clang for wasm32-wasi and its C and C++ libraries.
web_packages=(clang-14 lld-14 llvm-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32)
packages=(cmake ninja-build g++ pkg-config libsdl2-dev libstb-dev nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev)
case "${1:-}" in
  bench) packages+=(libopenmpt-dev libxmp-dev openmpt123 xmp python3-numpy) ;;
  test) packages+=(desktop-file-utils appstream man-db "${web_packages[@]}" chromium)
        command -v node >/dev/null || packages+=(nodejs)
        command -v npm >/dev/null || packages+=(npm) ;;
  package) packages+=(desktop-file-utils appstream man-db dpkg-dev file lintian) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
  web) packages=(cmake ninja-build nlohmann-json3-dev libstb-dev libcli11-dev "${web_packages[@]}")
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

# build PRESET [CMAKE ARGS...]
build() {
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >/dev/null
  cmake --build --preset "$preset"
}

case "${1:-}" in
  play)
    # Only the game is built before it starts; the tests wait for `test`.
    install_missing
    cmake --preset default -DORBITFEND_WERROR=OFF >/dev/null
    cmake --build --preset default --target orbitfend
    shift
    exec ./build/default/orbitfend "$@"
    ;;
  test)
    # Warnings are errors here, and the whole suite runs twice: optimised, and
    # under AddressSanitizer and UndefinedBehaviorSanitizer.
    install_missing
    build default -DORBITFEND_WERROR=ON
    ctest --preset default
    build asan -DORBITFEND_WERROR=ON
    ctest --preset asan
    # The page in Debian's Chromium, headless, against the native program;
    # playwright-core comes from the committed lock and downloads no browser.
    build web
    (cd web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund && node --test tests/)
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
  package)
    install_missing
    build default
    ctest --preset default -R '^install_tree$'
    rm -f build/package/orbitfend_*.deb
    cpack --config build/default/CPackConfig.cmake -B build/package
    deb=$(ls build/package/orbitfend_*.deb)
    echo "lintian $deb:"
    lintian --fail-on error "$deb"
    echo "$deb is ready: apt-get install ./$deb"
    ;;
  fuzz)
    install_missing
    build fuzz
    minutes=${2:-10}
    for target in build/fuzz/fuzz/orbitfend_*_fuzz; do
      name=$(basename "$target" | sed 's/^orbitfend_//; s/_fuzz$//')
      # New inputs go to a scratch corpus; the committed seeds stay small.
      mkdir -p "fuzz/corpus-$name" "fuzz/crashes/$name"
      # libFuzzer's entropic schedule weighs every feature an input reaches;
      # the module and settings inputs reach thousands, and the weighing took
      # a third (settings) to over half (module) of their time.
      flags=()
      case $name in module | settings) flags=(-entropic=0) ;; esac
      echo "== $name: $minutes minutes"
      "$target" "${flags[@]}" -max_total_time=$((minutes * 60)) -print_final_stats=1 \
        -artifact_prefix="fuzz/crashes/$name/" "fuzz/corpus-$name" "fuzz/corpus/$name" 2>&1 |
        grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY)' || true
    done
    ;;
  soak)
    install_missing
    build default
    ./build/default/orbitfend-soak --binary build/default/orbitfend --seeds "${2:-20}" --minutes "${3:-30}"
    ;;
  *)
    echo "usage: tools/dev.sh play|test|sanitize|bench|package|fuzz [MINUTES]|soak [SEEDS] [MINUTES]|web [--no-serve]" >&2
    exit 2
    ;;
esac
