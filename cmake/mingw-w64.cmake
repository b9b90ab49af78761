# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix threads variant).
# LUM_WINDOWS_PREFIX (a cache variable or the environment) names the folder that holds the
# cross-built static libraries, and LUM_WINDOWS_EXTRA_PREFIXES (a list, the same way) the folders
# of libraries cached apart from them; CMake looks for headers, libraries and packages only there
# and in the compiler's own root, and pkg-config reads only their .pc files.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUM_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUM_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUM_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${LUM_MINGW_HOST}-windres)

if(NOT LUM_WINDOWS_PREFIX AND DEFINED ENV{LUM_WINDOWS_PREFIX})
  set(LUM_WINDOWS_PREFIX $ENV{LUM_WINDOWS_PREFIX})
endif()
if(NOT LUM_WINDOWS_EXTRA_PREFIXES AND DEFINED ENV{LUM_WINDOWS_EXTRA_PREFIXES})
  set(LUM_WINDOWS_EXTRA_PREFIXES $ENV{LUM_WINDOWS_EXTRA_PREFIXES})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUM_WINDOWS_PREFIX LUM_WINDOWS_EXTRA_PREFIXES)

set(CMAKE_FIND_ROOT_PATH /usr/${LUM_MINGW_HOST} ${LUM_WINDOWS_PREFIX} ${LUM_WINDOWS_EXTRA_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Find modules ask pkg-config first: the build machine's own .pc files would describe its Linux
# libraries, while ours say what a static library needs (libxml2's says LIBXML_STATIC, without
# which its headers declare every function imported from a DLL).
set(lum_pkgconfig_dirs ${CMAKE_FIND_ROOT_PATH})
list(TRANSFORM lum_pkgconfig_dirs APPEND /lib/pkgconfig)
list(JOIN lum_pkgconfig_dirs ":" lum_pkgconfig_dirs)
set(ENV{PKG_CONFIG_LIBDIR} "${lum_pkgconfig_dirs}")

# Test programs and tools the build runs go through Wine.
find_program(LUM_WINE NAMES wine64 wine)
if(LUM_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUM_WINE})
endif()
