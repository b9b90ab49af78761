#!/usr/bin/env bash
# Sets up, builds and starts what the project has so far.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$BUILD_DIR"

# Only the libraries exist so far; their checks are what there is to run.
"$BUILD_DIR"/tests/tarn/tarn_tests --gtest_brief=1
