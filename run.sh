#!/usr/bin/env bash
# Builds the viewer and starts it on the given files (on samples/sample.tnef when
# none is given and it exists). Without a display it runs the viewer on a
# virtual one instead, saves a screenshot to build/screenshot.png and says so.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
quorvia_install_deps

BUILD_DIR=${QUORVIA_BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"

files=("$@")
if [ ${#files[@]} -eq 0 ] && [ -f samples/sample.tnef ]; then
    files=(samples/sample.tnef)
fi
program="$BUILD_DIR/bin/quorvia"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "${files[@]}"
fi

source scripts/headless_screenshot.sh
quorvia_install_deps xvfb imagemagick fonts-dejavu-core
quorvia_headless_screenshot "$program" "$BUILD_DIR/screenshot.png" "${files[@]}"
