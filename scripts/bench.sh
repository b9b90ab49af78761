#!/usr/bin/env bash
# Builds Release with the benchmark's tools and measures the player on a private virtual
# display: start-up, page change and memory for the demo and for 10 and 100 pages of 1 MB
# pictures, and lumtool check. Prints a table; writes it as JSON to build-bench/results.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

BUILD_DIR=${BUILD_DIR:-build-bench}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUM_TESTS=OFF -DLUM_SANITIZE=OFF \
  -DLUM_BENCH=ON
cmake --build "$BUILD_DIR"

python3 bench/run_bench.py "$BUILD_DIR" "$BUILD_DIR/results" --runs "${RUNS:-5}"
