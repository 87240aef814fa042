#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, for ctest and test discovery.
# The program's CR LF line ends become LF, so that the test lists read as on
# Linux; the program's exit status is kept.
set -o pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine "$@" | tr -d '\r'
