#!/usr/bin/env bash
# Cross-builds lumplayer.exe and lumtool.exe for 64-bit Windows with Debian's MinGW-w64.
#
#   bash scripts/windows.sh          set up, build the libraries when not cached, build both .exe
#   bash scripts/windows.sh libs     only set up and build the cached libraries
#   bash scripts/windows.sh test     as the default with the unit tests, then run them under Wine
#   bash scripts/windows.sh e2e      as the default, then drive lumplayer.exe under Wine
#   bash scripts/windows.sh ci       all of the above, as CI runs it
#
# The third-party libraries (expat, libpng, libjpeg-turbo, wxWidgets for MSW, GoogleTest) come
# from Debian's source packages and are built once as static libraries into a cache outside the
# repository, named after their versions:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/lumplayer-win/<versions>/
# libxml2 (for the schema check of `lumtool check`) came later and has a folder of its own
# beside it, named after its version, its recipe and the compiler, so that the others stayed
# valid:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/lumplayer-win/libxml2-<version>-gcc<version>-x<recipe>/
# Removing a folder (or a change of a version) rebuilds what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
MODE=${1:-build}
JOBS=${JOBS:-2}
HOST=x86_64-w64-mingw32
BUILD_DIR=${WINDOWS_BUILD_DIR:-build-windows}
# Raise when the way the libraries are built changes, so that old caches are not reused.
RECIPE=3
# The same for libxml2 alone, which leaves the others' cache as it is.
XML_RECIPE=1

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

log() { printf '== %s\n' "$*" >&2; }

# --- packages ---------------------------------------------------------------------------------

PACKAGES=(
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev binutils-mingw-w64-x86-64
  wine wine64 dpkg-dev cmake ninja-build ccache googletest pkgconf
  xvfb xauth xdotool imagemagick openbox
)

install_packages() {
  local missing=() package
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  if ((${#missing[@]})); then
    log "installing ${missing[*]}"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# `apt-get source` needs source entries; Debian 12 images often have only binary ones.
SOURCES_FILE=/etc/apt/sources.list.d/lumplayer-src.sources
enable_sources() {
  if apt-cache showsrc wxwidgets3.2 2>/dev/null | grep -q '^Version:'; then return; fi
  log "adding deb-src entries for bookworm ($SOURCES_FILE)"
  $SUDO tee "$SOURCES_FILE" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  $SUDO apt-get update
}

# Versions of a source package known to apt, newest first.
source_versions() {
  apt-cache showsrc "$1" | awk '/^Version:/ { print $2 }' | sort -Vr | uniq
}

# --- the library cache ------------------------------------------------------------------------

LIBRARIES=(expat libpng1.6 libjpeg-turbo libsdl2 wxwidgets3.2)

# Fetches and unpacks the newest source of a library that the archive really serves (a
# security update may be listed before its files reach the mirror), once per version, and
# records the unpacked folder in SOURCE[library] and its version in VERSION[library].
declare -A SOURCE VERSION
fetch_source() {
  local library=$1 version into
  while read -r version; do
    into=$SOURCES/${library}_$(printf '%s' "$version" | tr ':~+' '.__')
    if [ ! -f "$into/unpacked" ]; then
      log "fetching the source of $library $version"
      rm -rf "$into"
      mkdir -p "$into/tree"
      if ! (cd "$into/tree" && apt-get source --only-source "$library=$version" >&2); then
        log "the source of $library $version is not available; trying an older one"
        rm -rf "$into"
        continue
      fi
      find "$into/tree" -mindepth 1 -maxdepth 1 -type d | head -n 1 >"$into/unpacked"
    fi
    SOURCE[$library]=$(cat "$into/unpacked")
    VERSION[$library]=$version
    return 0
  done < <(source_versions "$library")
  echo "no source of $library could be fetched" >&2
  return 1
}

cache_key() {
  local key="r$RECIPE-gcc$($HOST-g++-posix -dumpversion)" library
  for library in "${LIBRARIES[@]}"; do
    key+="-$library-${VERSION[$library]}"
  done
  key+="-googletest-$(dpkg-query -W -f='${Version}' googletest)"
  printf '%s' "$key" | tr ':~+' '.__'
}

# libxml2 needs none of the other libraries, so its key names only itself and the compiler.
xml_cache_key() {
  printf 'libxml2-%s-gcc%s-x%s' "${VERSION[libxml2]}" "$($HOST-g++-posix -dumpversion)" \
    "$XML_RECIPE" | tr ':~+' '.__'
}

cmake_cross() { # source build [options...]
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DLUM_WINDOWS_PREFIX="$PREFIX" \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_INSTALL_LIBDIR=lib \
    -DBUILD_SHARED_LIBS=OFF "$@" >&2
  cmake --build "$build" -j "$JOBS" >&2
  cmake --install "$build" >&2
}

build_expat() {
  local source
  source=${SOURCE[expat]}/expat # the upstream tree keeps the library one folder down
  # Debian's backported fix tests `XML_DTD == 1`; the CMake template defines it empty.
  sed -i 's/#cmakedefine XML_DTD/#cmakedefine01 XML_DTD/' "$source/expat_config.h.cmake"
  cmake_cross "$source" "$CACHE/build/expat" -DEXPAT_SHARED_LIBS=OFF \
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=ON
  # Expat names its static library after the C runtime on Windows; wxWidgets links -lexpat.
  if [ ! -f "$PREFIX/lib/libexpat.a" ]; then
    cp "$(find "$PREFIX/lib" -maxdepth 1 -name 'libexpat*.a' | head -n 1)" "$PREFIX/lib/libexpat.a"
  fi
}

build_libpng() {
  cmake_cross "${SOURCE[libpng1.6]}" "$CACHE/build/libpng" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_INCLUDE_DIR=/usr/$HOST/include -DZLIB_LIBRARY=/usr/$HOST/lib/libz.a
  if [ ! -f "$PREFIX/lib/libpng.a" ]; then cp "$PREFIX/lib/libpng16.a" "$PREFIX/lib/libpng.a"; fi
}

build_libjpeg() {
  # Without SIMD: no nasm needed, and the plain C code is what the fuzzers exercise most.
  cmake_cross "${SOURCE[libjpeg-turbo]}" "$CACHE/build/libjpeg" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DCMAKE_INSTALL_LIBDIR="$PREFIX/lib" # it takes a relative one as relative to the caller
}

build_libsdl2() {
  # For its WAV decoding and format conversion, the same on both systems, so that lumtool
  # judges music alike everywhere. The video part stays: SDL's table of functions refers to
  # its Windows functions whatever else is left out.
  cmake_cross "${SOURCE[libsdl2]}" "$CACHE/build/libsdl2" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL_VIDEO=ON -DSDL_RENDER=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
    -DSDL_EVENTS=ON -DSDL_AUDIO=ON -DSDL_LOCALE=OFF -DSDL_MISC=OFF
}

build_googletest() {
  cmake_cross /usr/src/googletest "$CACHE/build/googletest" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
}

build_wxwidgets() {
  local source
  source=${SOURCE[wxwidgets3.2]}
  mkdir -p "$CACHE/build/wxwidgets"
  # Only what the player and lumtool use; the rest (web view, media, Scintilla, OpenGL, AUI,
  # property grid, ribbon, TIFF) is left out, which also halves the build. Precompiled
  # headers take about another third off.
  (cd "$CACHE/build/wxwidgets" &&
    "$source/configure" --host=$HOST --build="$(gcc -dumpmachine)" --prefix="$PREFIX" \
      --with-msw --disable-shared --enable-unicode --enable-pch \
      --with-zlib=sys --with-libpng=sys --with-libjpeg=sys --with-expat=sys \
      --with-regex=builtin --without-libtiff --without-liblzma --without-opengl \
      --disable-webview --disable-mediactrl --disable-stc --disable-propgrid \
      --disable-ribbon --disable-aui --disable-debugreport \
      CC=$HOST-gcc-posix CXX=$HOST-g++-posix \
      CPPFLAGS="-I$PREFIX/include -I/usr/$HOST/include -DXML_STATIC" \
      LDFLAGS="-L$PREFIX/lib" >&2 &&
    make -j "$JOBS" >&2 &&
    make install >&2 &&
    rm -rf .pch) # about 2 GB of precompiled headers, of no use once installed
}

build_libxml2() {
  # What the schema check needs: the parser, the tree, the reader and RELAX NG with the XML
  # Schema datatypes. No programs, tests or Python bindings, nothing from the network, no
  # compression, no catalogs, HTML, XPath, XInclude or writer, and no iconv: UTF-8, UTF-16,
  # ASCII and ISO-8859-1 to -16 are built in.
  cmake_cross "${SOURCE[libxml2]}" "$CACHE/build/libxml2" \
    -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_PYTHON=OFF \
    -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_MODULES=OFF \
    -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ICONV=OFF \
    -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_ISO8859X=ON -DLIBXML2_WITH_CATALOG=OFF \
    -DLIBXML2_WITH_HTML=OFF -DLIBXML2_WITH_DOCB=OFF -DLIBXML2_WITH_LEGACY=OFF \
    -DLIBXML2_WITH_DEBUG=OFF -DLIBXML2_WITH_C14N=OFF -DLIBXML2_WITH_XPATH=OFF \
    -DLIBXML2_WITH_XPTR=OFF -DLIBXML2_WITH_XINCLUDE=OFF -DLIBXML2_WITH_SCHEMATRON=OFF \
    -DLIBXML2_WITH_WRITER=OFF -DLIBXML2_WITH_READER=ON -DLIBXML2_WITH_PUSH=ON \
    -DLIBXML2_WITH_SCHEMAS=ON -DLIBXML2_WITH_REGEXPS=ON -DLIBXML2_WITH_TREE=ON
  rm -rf "$PREFIX/share/doc" "$PREFIX/share/man" # its whole manual, of no use here
  # CMake's FindLibXml2 takes LIBXML_STATIC from this file only when its libdir reads as the
  # folder it found the library in, which a prefix relative to the file's folder never does.
  sed -i "s|^prefix=.*|prefix=$PREFIX|" "$PREFIX/lib/pkgconfig/libxml-2.0.pc"
}

# Builds a library into the prefix of a cache folder unless that folder marks it built; its
# build function sees that folder as CACHE and its prefix as PREFIX.
build_once() { # cache library
  local CACHE=$1 library=$2
  local PREFIX=$CACHE/prefix
  if [ -f "$CACHE/done/$library" ]; then return 0; fi
  log "building $library into $PREFIX"
  local started=$SECONDS
  mkdir -p "$PREFIX"
  "build_$library"
  mkdir -p "$CACHE/done"
  echo "$((SECONDS - started)) s" >"$CACHE/done/$library"
}

build_libraries() {
  local library
  for library in expat libpng libjpeg libsdl2 googletest wxwidgets; do
    build_once "$CACHE" "$library"
  done
  build_once "$XML_CACHE" libxml2
}

# --- this repository ----------------------------------------------------------------------------

# The programs, and with the tests asked for the unit tests too, in one build folder, so that
# nothing is compiled twice.
build_programs() {
  local with_tests=$1
  log "building lumplayer.exe and lumtool.exe in $BUILD_DIR (unit tests: $with_tests)"
  export CCACHE_BASEDIR=$ROOT
  # -O2 rather than CMake's -O3: as fast for a program that waits on its user, and a sixth
  # quicker to build.
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DLUM_WINDOWS_PREFIX="$PREFIX" \
    -DLUM_WINDOWS_EXTRA_PREFIXES="$XML_PREFIX" \
    -DwxWidgets_CONFIG_EXECUTABLE="$PREFIX/bin/wx-config" -DwxWidgets_USE_STATIC=ON \
    -DLUM_TESTS="$with_tests"
  if [ "$with_tests" = ON ]; then
    cmake --build "$BUILD_DIR" -j "$JOBS"
  else
    cmake --build "$BUILD_DIR" -j "$JOBS" --target lumplayer lumtool
  fi
  check_imports "$BUILD_DIR/lumplayer.exe" "$BUILD_DIR/lumtool.exe"
  log "both programs import only Windows' own DLLs"
}

# Windows' own DLLs; anything else would have to travel beside the program.
SYSTEM_DLLS="advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleacc oleaut32 shell32
  shlwapi user32 uxtheme version winspool winmm ws2_32 rpcrt4 uuid gdiplus windowscodecs
  imm32 wininet winhttp setupapi"

check_imports() {
  local program dll bad=0
  for program in "$@"; do
    for dll in $($HOST-objdump -p "$program" | awk '/DLL Name:/ { print tolower($3) }'); do
      local name=${dll%.dll}
      if ! grep -qw "${name%.drv}" <<<"$SYSTEM_DLLS"; then
        echo "$program imports $dll, which is not part of Windows" >&2
        bad=1
      fi
    done
  done
  return $bad
}

# A private Wine prefix on a private virtual display, for the tests.
wine_environment() {
  export WINEPREFIX=${LUM_WINEPREFIX:-$ROOT/$BUILD_DIR/wineprefix}
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX"
    # The registry is complete only once the wine server has written it out.
    timeout 300 xvfb-run -a sh -c 'wine wineboot --init; wineserver -w' >/dev/null 2>&1 || true
  fi
}

# Runs a command on a virtual display with a window manager, as on a desktop: without one,
# Wine waits two seconds for every hidden window to be withdrawn. At most 15 minutes.
on_desktop() {
  timeout 900 xvfb-run -a sh -c 'openbox --sm-disable >/dev/null 2>&1 & manager=$!
    sleep 1; "$@"; status=$?; kill $manager; exit $status' desktop "$@"
}

# The unit tests, one program per library, each run under Wine on a virtual display from its
# own folder (some read files beside them). As on Linux, a program that fails is run once more:
# the view's timings can miss when the machine is busy; a real fault fails both times.
run_unit_tests() {
  wine_environment
  local failed=() program attempt passed
  for program in $(find "$BUILD_DIR/tests" -name '*_tests.exe' | sort); do
    passed=0
    for attempt in 1 2; do
      log "running $program (attempt $attempt)"
      if (cd "$(dirname "$program")" &&
          on_desktop wine "./$(basename "$program")" --gtest_brief=1); then
        passed=1
        break
      fi
    done
    ((passed)) || failed+=("$program")
  done
  if ((${#failed[@]})); then
    echo "failed under Wine: ${failed[*]}" >&2
    return 1
  fi
}

# lumplayer.exe and lumtool.exe driven under Wine, beside a Linux build: its lumtool for
# comparison and for a medium that carries both players.
run_end_to_end() {
  local linux
  linux=$(realpath -m "${LINUX_BUILD_DIR:-build}")
  if [ ! -f "$linux/CMakeCache.txt" ]; then
    bash scripts/setup.sh
    cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUM_TESTS=OFF
  fi
  log "building the Linux lumtool and medium player in $linux, for the comparison and the medium"
  cmake --build "$linux" -j "$JOBS" --target lumtool medium_runtime
  wine_environment
  LUM_WINDOWS_BUILD_DIR=$ROOT/$BUILD_DIR LUM_BUILD_DIR=$linux LUM_WINEPREFIX=$WINEPREFIX \
    PYTHONDONTWRITEBYTECODE=1 timeout 1200 python3 -m unittest -v tests/windows/test_wine.py
}

main() {
  local started=$SECONDS
  install_packages
  enable_sources
  local cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/lumplayer-win library
  SOURCES=$cache_root/sources
  for library in "${LIBRARIES[@]}" libxml2; do fetch_source "$library"; done
  CACHE=$cache_root/$(cache_key)
  PREFIX=$CACHE/prefix
  XML_CACHE=$cache_root/$(xml_cache_key)
  XML_PREFIX=$XML_CACHE/prefix
  export LUM_WINDOWS_PREFIX=$PREFIX LUM_WINDOWS_EXTRA_PREFIXES=$XML_PREFIX
  mkdir -p "$PREFIX"
  build_libraries
  case $MODE in
    libs) ;;
    build) build_programs "${LUM_WINDOWS_TESTS:-OFF}" ;;
    # One command per line: `set -e` does not reach into a function called left of `&&`.
    test)
      build_programs ON
      run_unit_tests
      ;;
    e2e)
      build_programs "${LUM_WINDOWS_TESTS:-OFF}"
      run_end_to_end
      ;;
    ci)
      build_programs ON
      run_unit_tests
      run_end_to_end
      ;;
    *) echo "usage: bash scripts/windows.sh [build|libs|test|e2e|ci]" >&2; return 2 ;;
  esac
  log "done in $((SECONDS - started)) s"
}

main
