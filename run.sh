#!/usr/bin/env bash
# Builds everything in release mode.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
quorvia_install_deps

BUILD_DIR=${QUORVIA_BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"
echo "Built into $BUILD_DIR/bin"
