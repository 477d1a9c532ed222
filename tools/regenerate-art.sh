#!/bin/sh
# Rebuilds the artwork generator and redraws the PNGs under resources/.
#
#   tools/regenerate-art.sh                 # write resources/
#   tools/regenerate-art.sh --preview DIR   # also assemble window mock-ups into DIR
#
# The generator is built as a standalone CMake project so it works even while the
# rest of the tree does not compile. BUILD_DIR overrides where it is built.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$root/build-art/skingen"}

cmake -S "$root/tools/skingen" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel >/dev/null

QT_QPA_PLATFORM=offscreen "$build/skingen" --out "$root/resources" "$@"
