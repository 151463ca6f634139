#!/usr/bin/env bash
# Builds the test tree with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
quorvia_install_deps "${QUORVIA_TEST_PACKAGES[@]}"

BUILD_DIR=${QUORVIA_TEST_BUILD_DIR:-build-test}
JOBS=${JOBS:-$(nproc)}

cmake -S . -B "$BUILD_DIR" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DQUORVIA_SANITIZE=ON \
    -DQUORVIA_WERROR=ON \
    -DBUILD_TESTING=ON >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"
cd "$BUILD_DIR"
ctest --output-on-failure -j "$JOBS" "$@"
