#!/usr/bin/env bash
# Builds Qt 6.4.2 qtbase for 64-bit Windows with Debian's mingw-w64, from
# Debian's own qt6-base source package (the version Debian ships for Linux),
# and installs it in PREFIX. About 25 minutes on a 2-core machine.
#   cmake/build-qt-windows.sh PREFIX
# Needs the packages that ./setup.sh windows installs, and apt's deb-src lines
# for the Debian archive (setup.sh adds them when missing).
set -euo pipefail
prefix=$(realpath -m "${1:?usage: build-qt-windows.sh PREFIX}")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$work"
apt-get source --download-only qt6-base
tar xf qt6-base_6.4.2+dfsg.orig.tar.xz

# Debian's source leaves out src/3rdparty/wintab: tablet support off. The Windows
# platform plugin of 6.4.2 needs OpenGL on (it loads opengl32.dll only when asked).
cmake -S qtbase-everywhere-src-6.4.2 -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix.partial" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_testlib=ON -DFEATURE_openssl=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_doubleconversion=OFF
cmake --build build
rm -rf "$prefix.partial"
cmake --install build
rm -rf "$prefix.partial/doc"
# Only a whole build takes the place that setup.sh looks for.
mv "$prefix.partial" "$prefix"
