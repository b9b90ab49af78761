#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test
# under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# Sanitizer settings hold for the tools the build itself runs, too (it packs the demo menu).
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# The toolkit's libraries keep some allocations until exit; our own leaks still fail.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0}

# An ordinary Release lumtool as well, for the damaged-picture suite: the toolkit's libraries
# are not instrumented, so a memory fault inside them shows only as a crash of such a build.
# Optimised at -O1: the suite needs glibc's own heap checks, not speed, and -O1 compiles about a
# fifth faster than -O3.
RELEASE_DIR=${RELEASE_DIR:-build-release-check}
cmake -S . -B "$RELEASE_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUM_TESTS=OFF \
  -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG"
cmake --build "$RELEASE_DIR" --target lumtool

BUILD_DIR=${BUILD_DIR:-build-test}
# -O1, as the sanitizers' authors advise, and line tables only, which is all a report needs:
# the build takes about half as long as with -O2 and full debug information.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUM_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DLUM_RELEASE_LUMTOOL="$PWD/$RELEASE_DIR/lumtool"
cmake --build "$BUILD_DIR"

cd "$BUILD_DIR"
# A test process that cannot reach the virtual display under heavy load is run again (at most
# twice more); a test that fails on its own merits fails every time.
timeout 1500 xvfb-run -a ctest --output-on-failure --timeout 300 -j "$(nproc)" \
  --repeat until-pass:3
