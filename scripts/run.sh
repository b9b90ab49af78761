#!/usr/bin/env bash
# Sets up, builds and starts what the project has so far.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUM_TESTS=OFF -DLUM_SANITIZE=OFF
cmake --build "$BUILD_DIR"

# The player is not there yet; the authors' tool is.
"$BUILD_DIR"/lumtool --help
echo
echo "The demo menu is packed into $BUILD_DIR/content.lum from examples/demo."
