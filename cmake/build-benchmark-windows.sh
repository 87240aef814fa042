#!/usr/bin/env bash
# Builds Google Benchmark for 64-bit Windows with Debian's mingw-w64, from
# Debian's own benchmark source package (the version Debian ships for Linux,
# with Debian's patches), and installs it in PREFIX. A static library, so that
# the benchmark programs need no DLL of it under Wine. About a minute.
#   cmake/build-benchmark-windows.sh PREFIX
# Needs the packages that ./setup.sh bench installs, and apt's deb-src lines
# for the Debian archive (setup.sh adds them when missing).
set -euo pipefail
prefix=$(realpath -m "${1:?usage: build-benchmark-windows.sh PREFIX}")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$work"
# Unpacked with Debian's patches applied: one of them stops the version from
# being read from Git tags, which a source package has none of.
apt-get source benchmark >/dev/null
source=$(find . -maxdepth 1 -type d -name 'benchmark-*' | head -n 1)
version=${source#./benchmark-}

cmake -S "$source" -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix.partial" -DCMAKE_BUILD_TYPE=Release \
    -DGIT_VERSION="$version" -DBUILD_SHARED_LIBS=OFF \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LTO=OFF >/dev/null
cmake --build build
rm -rf "$prefix.partial"
cmake --install build >/dev/null
rm -rf "$prefix.partial/share/doc"
# Only a whole build takes the place that setup.sh looks for.
mv "$prefix.partial" "$prefix"
