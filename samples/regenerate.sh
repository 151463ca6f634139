#!/usr/bin/env bash
# Rewrites samples/sample.tnef from samples/make_sample.cpp (build folder: build-sample/).
set -euo pipefail; cd "$(dirname "$0")/.."; cmake -S . -B build-sample -G Ninja -DBUILD_TESTING=ON >/dev/null && cmake --build build-sample --target regenerate_sample
