#!/usr/bin/env bash
# Sets up a fresh Debian/Ubuntu machine for Dalvero and builds it: each
# command installs what it needs and no more. ./setup.sh alone says how.
set -euo pipefail
# A FOLDER given to `run` is read from where the script was started.
started_in=$PWD
cd "$(dirname "$0")"

usage() {
    cat <<'EOF'
Sets up a fresh Debian/Ubuntu machine for Dalvero and builds it.
  ./setup.sh run [FOLDER]   install what is missing, build, start the program in a
                            demo folder made afresh (build/demo), or in FOLDER
  ./setup.sh test           install what is missing, build, run the whole test suite
Development extras (used by CI after the test suite):
  ./setup.sh sanitize          the test suite again under ASan + UBSan
  ./setup.sh fuzz [SECONDS]    a bounded fuzzing run (default 60 s)
  ./setup.sh windows           cross-build for Windows, run the test suite under Wine,
                               build the installer and the portable zip and test
                               them under Wine
  ./setup.sh bench [--build-only]  build the benchmarks for Linux and for Windows, run
                               them (Windows' under Wine) and print both medians and
                               their ratio
Each build is a preset of CMakePresets.json (cmake --list-presets), so an
IDE configures exactly what this script does.
EOF
}

# What builds and starts the program; each other command adds its own.
run_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n librsvg2-bin cmark-gfm
)
test_packages=(libgtest-dev libgmock-dev libfiu-dev fiu-utils desktop-file-utils appstream file
    dpkg-dev)
# The Windows side of the benchmarks needs windows_packages too.
bench_packages=(libbenchmark-dev libxcb1-dev xvfb xauth python3)
# clang and its fuzzing runtime at one version: the runtime fits only its own
# clang. The fuzz preset names the same clang++-14.
fuzz_packages=(clang-14 libclang-rt-14-dev libgtest-dev)
windows_packages=(
    libgtest-dev xvfb xauth unzip
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
    qt6-base-dev-tools wine wine64 xz-utils fonts-dejavu-core
    nsis icoutils netpbm osslsigncode openssl
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() { # install_missing PACKAGE...
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Qt for Windows lives outside the build folders, as it takes long to make: a
# copy packed by the project's own build of it when one lies beside the
# checkout (DALVERO_QT_WINDOWS_ARCHIVE names another), else built here from
# Debian's source.
qt_windows_cache=${XDG_CACHE_HOME:-$HOME/.cache}/dalvero
qt_windows=$qt_windows_cache/qt-6.4.2-mingw64
qt_windows_archive=${DALVERO_QT_WINDOWS_ARCHIVE:-../shared/toolchains/qt-6.4.2-mingw64.tar.xz}

add_debian_sources() {
    if grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    echo "Adding apt's deb-src lines for the Debian archive"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            as_root tee /etc/apt/sources.list.d/dalvero-src.sources >/dev/null
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            as_root tee /etc/apt/sources.list.d/dalvero-src.list >/dev/null
    fi
    as_root apt-get update -qq
}

get_qt_windows() {
    [ -f "$qt_windows/lib/cmake/Qt6/qt.toolchain.cmake" ] && return 0
    mkdir -p "$qt_windows_cache"
    if [ -f "$qt_windows_archive" ]; then
        echo "Unpacking Qt for Windows from $qt_windows_archive"
        tar -xJf "$qt_windows_archive" -C "$qt_windows_cache"
    else
        echo "Building Qt for Windows from Debian's source (about 25 minutes)"
        add_debian_sources
        cmake/build-qt-windows.sh "$qt_windows"
    fi
}

# Google Benchmark for Windows, beside Qt for Windows: built once from
# Debian's source, in about a minute.
benchmark_windows=$qt_windows_cache/benchmark-mingw64

get_benchmark_windows() {
    [ -f "$benchmark_windows/lib/cmake/benchmark/benchmarkConfig.cmake" ] && return 0
    echo "Building Google Benchmark for Windows from Debian's source"
    add_debian_sources
    cmake/build-benchmark-windows.sh "$benchmark_windows"
}

# A throwaway self-made code-signing certificate, trusted by the signature
# check alone: CI signs with it, so that the signing path cannot rot. A real
# certificate comes in through the same variables (dist/windows/sign.sh).
use_test_certificate() {
    local dir=build-windows/test-signing
    mkdir -p "$dir"
    # Made anew a day before it runs out: a signature made with an expired
    # certificate does not verify.
    if [ ! -f "$dir/dalvero.pfx" ] ||
        ! openssl x509 -checkend 86400 -noout -in "$dir/cert.pem" >/dev/null 2>&1; then
        openssl req -x509 -newkey rsa:2048 -nodes -days 7 -subj "/CN=Dalvero test signing" \
            -addext extendedKeyUsage=codeSigning -keyout "$dir/key.pem" -out "$dir/cert.pem" \
            2>/dev/null
        openssl pkcs12 -export -inkey "$dir/key.pem" -in "$dir/cert.pem" \
            -out "$dir/dalvero.pfx" -passout pass:dalvero-test
    fi
    export DALVERO_SIGN_PFX=$PWD/$dir/dalvero.pfx DALVERO_SIGN_PASSWORD=dalvero-test
    export DALVERO_SIGN_CA=$PWD/$dir/cert.pem
    # No timestamp, on purpose: CI has no network, and a signature of a
    # week-old throwaway certificate has nothing to outlive.
    export DALVERO_SIGN_TIMESTAMP_URL=
}

# Wine's prefix for the tests, made once before they run: made on first use
# it would offer to install its .NET and HTML engines to a user who is not
# there.
prepare_wine_prefix() { # prepare_wine_prefix PREFIX [DPI]
    local WINEPREFIX=$1 WINEDEBUG=-all dpi=${2:-}
    export WINEPREFIX WINEDEBUG
    [ -f "$WINEPREFIX/system.reg" ] ||
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    # An empty CD drive R:, as a card reader or DVD drive without a disk is:
    # the system lists it, and its root cannot be read.
    if [ ! -L "$WINEPREFIX/dosdevices/r:" ]; then
        ln -sfn /nonexistent/dalvero-empty-drive "$WINEPREFIX/dosdevices/r:"
        wine reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f >/dev/null 2>&1
        wineserver -w
    fi
    # A share, \\dalvero-nas\klub, as on a NAS: Wine finds a share's folder
    # under dosdevices/unc.
    if [ ! -L "$WINEPREFIX/dosdevices/unc/dalvero-nas/klub" ]; then
        mkdir -p "$WINEPREFIX/dalvero-share" "$WINEPREFIX/dosdevices/unc/dalvero-nas"
        ln -sfn "$WINEPREFIX/dalvero-share" "$WINEPREFIX/dosdevices/unc/dalvero-nas/klub"
    fi
    # The window suites' windows on a desktop of Wine's own, one window on the
    # display: Wine then activates and hides windows itself, as Windows does,
    # instead of waiting up to two seconds on each for a window manager the
    # virtual display does not have. A scaled screen is one that offers the
    # scale, 4K, so that the window at 250 % fits on it.
    local desktop=1920x1200
    [ -z "$dpi" ] || desktop=3840x2160
    if ! grep -qx "\"Default\"=\"$desktop\"" "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f \
            >/dev/null 2>&1
        wineserver -w
    fi
    # The screen's density, as the user sets it in Windows' display settings.
    if [ -n "$dpi" ] &&
        ! grep -qx "\"LogPixels\"=dword:$(printf %08x "$dpi")" "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1
        wineserver -w
    fi
}

# 125 % to 250 % in Windows' display settings; tests/ui/CMakeLists.txt names
# the same.
scaled_dpis=(120 144 168 192 216 240)

end_wine_servers() {
    wineserver -k 2>/dev/null || true
    for dpi in "${scaled_dpis[@]}"; do
        WINEPREFIX=$WINEPREFIX-${dpi}dpi wineserver -k 2>/dev/null || true
    done
}

# A virtual display of this script's own, made ready before it returns and
# ended with the script: Xvfb picks a display number that is free.
start_virtual_display() {
    local number
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 3840x2160x24 -nolisten tcp 3>"$number" 2>/dev/null &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true' EXIT
    for _ in $(seq 1 300); do
        [ -s "$number" ] && break
        sleep 0.1
    done
    [ -s "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
    DISPLAY=:$(tr -d '\n' <"$number")
    export DISPLAY
    rm -f "$number"
}

build() { # build PRESET [cmake options...]
    local preset=$1
    shift
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset"
}

benches=(conversion/dalvero_conversion_bench ui/dalvero_ui_bench ui/dalvero_start_bench)

run_bench() { # run_bench PROGRAM FOLDER [RUNNER]: its console report, and a JSON one in FOLDER
    local name=${1##*/dalvero_}
    ${3:-} "$1" --benchmark_repetitions=5 --benchmark_display_aggregates_only=true \
        --benchmark_out="$2/${name%_bench*}.json" --benchmark_out_format=json
}

run_tests() { # run_tests PRESET
    ctest --preset "$1" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    # The program alone: the test suite would need GoogleTest.
    build linux -DDALVERO_BUILD_TESTS=OFF
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: start Dalvero from a desktop session" >&2
        exit 1
    fi
    program=$PWD/build/app/dalvero
    folder=${2:+$(cd "$started_in" && realpath "$2")}
    if [ -z "$folder" ]; then
        # Dalvero lists the files of the folder it starts in and makes UNI_KOP
        # there: a made-up club's files, copied afresh so that each run starts
        # from the same files and nothing lands in the checkout.
        folder=build/demo
        rm -rf "$folder"
        cp -r docs/demo "$folder"
    fi
    cd "$folder"
    exec "$program"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    build linux
    run_tests linux
    ;;
sanitize)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    build sanitize
    run_tests sanitize
    ;;
bench)
    install_missing "${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}" \
        "${windows_packages[@]}"
    build bench
    get_qt_windows
    get_benchmark_windows
    build bench-windows -DCMAKE_TOOLCHAIN_FILE="$qt_windows/lib/cmake/Qt6/qt.toolchain.cmake" \
        -Dbenchmark_DIR="$benchmark_windows/lib/cmake/benchmark"
    [ "${2:-}" = --build-only ] && exit 0
    export WINEPREFIX=${WINEPREFIX:-$qt_windows_cache/wine}
    prepare_wine_prefix "$WINEPREFIX"
    # Both systems' windows on one display of the script's own, drawn by each
    # system's own platform plug-in, as a user's are.
    start_virtual_display
    end_wine_servers
    results=build/bench-results
    rm -rf "$results"
    mkdir -p "$results/linux" "$results/windows"
    # Linux's first, then Windows': each one's windows alone on the display.
    for bench in "${benches[@]}"; do
        QT_QPA_PLATFORM=xcb run_bench "build/bench/$bench" "$results/linux"
    done
    for bench in "${benches[@]}"; do
        QT_QPA_PLATFORM=windows run_bench "build-windows/bench/$bench.exe" "$results/windows" \
            build-windows/wine-run.sh
    done
    end_wine_servers
    echo
    python3 bench/compare.py "$results/linux" "$results/windows"
    ;;
fuzz)
    install_missing "${run_packages[@]}" "${fuzz_packages[@]}"
    build fuzz
    mkdir -p build-fuzz/corpus
    build-fuzz/tests/fuzz/dalvero_fuzz -max_total_time="${2:-60}" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/ build-fuzz/corpus tests/fuzz/corpus
    ;;
windows)
    install_missing "${run_packages[@]}" "${windows_packages[@]}"
    get_qt_windows
    export WINEPREFIX=${WINEPREFIX:-$qt_windows_cache/wine}
    prepare_wine_prefix "$WINEPREFIX"
    # The window once more at each display scale Windows offers above 100 %,
    # a prefix each (tests/ui, wine-run.sh).
    for dpi in "${scaled_dpis[@]}"; do
        prepare_wine_prefix "$WINEPREFIX-${dpi}dpi" "$dpi"
    done
    build windows -DCMAKE_TOOLCHAIN_FILE="$qt_windows/lib/cmake/Qt6/qt.toolchain.cmake"
    # The window suites draw with Qt's windows platform, which needs a display.
    [ -n "${DISPLAY:-}" ] || start_virtual_display
    # A Wine server still running from an earlier run would keep its desktop
    # on that run's display, where no test window is ever shown.
    end_wine_servers
    run_tests windows
    # Wine's background processes for the tests' prefixes end with the tests.
    end_wine_servers
    # The installer and the portable zip, signed where a certificate is
    # given, then both as a user meets them.
    if [ "${CI:-}" = true ] && [ -z "${DALVERO_SIGN_PFX:-}" ]; then
        use_test_certificate
    fi
    cmake --build build-windows --target package
    tests/installer/install_test.sh build-windows/Dalvero-*-win64.exe \
        build-windows/Dalvero-*-win64-portable.zip
    ;;
*)
    usage
    exit 2
    ;;
esac
