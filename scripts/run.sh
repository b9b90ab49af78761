#!/usr/bin/env bash
# Sets up, builds and starts the player on the demo menu. Without a display it paints the
# demo pages to pictures with lumtool instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUM_TESTS=OFF -DLUM_SANITIZE=OFF
cmake --build "$BUILD_DIR"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # Without arguments the player opens the content.lum beside it: the demo menu.
  exec "$BUILD_DIR"/lumplayer
fi

PICTURES="$BUILD_DIR/demo-pages"
mkdir -p "$PICTURES"
echo "No display here: painting the demo pages as the player shows them instead."
for page in main guide showcase; do
  # lumtool finds a virtual display (xvfb-run) by itself when there is no real one.
  "$BUILD_DIR"/lumtool render "$BUILD_DIR/content.lum" --page "$page" -o "$PICTURES/$page.png"
done
echo "The pictures are in $(cd "$PICTURES" && pwd)."
