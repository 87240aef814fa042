#!/usr/bin/env bash
# Sets up a fresh Debian/Ubuntu machine for Dalvero and builds it.
#   ./setup.sh run    install what is missing, build, start the program
#   ./setup.sh test   install what is missing, build, run the whole test suite
# Development extras (used by CI after the test suite):
#   ./setup.sh sanitize          the test suite again under ASan + UBSan
#   ./setup.sh fuzz [SECONDS]    a bounded fuzzing run (default 60 s)
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    build-essential cmake ninja-build pkg-config file dpkg-dev
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    desktop-file-utils appstream librsvg2-bin
    xvfb xauth libxcb1-dev
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

build() { # build DIR [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir"
}

run_tests() { # run_tests DIR
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build build
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: start Dalvero from a desktop session, or try: xvfb-run build/app/dalvero" >&2
        exit 1
    fi
    exec build/app/dalvero
    ;;
test)
    install_missing
    build build
    run_tests build
    ;;
sanitize)
    install_missing
    build build-sanitize -DDALVERO_SANITIZE=ON -DDALVERO_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_tests build-sanitize
    ;;
fuzz)
    install_missing
    cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build-fuzz
    mkdir -p build-fuzz/corpus
    build-fuzz/dalvero_fuzz -max_total_time="${2:-60}" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/ build-fuzz/corpus tests/fuzz/corpus
    ;;
*)
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
