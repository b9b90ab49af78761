# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix threads variant).
# LUM_WINDOWS_PREFIX (a cache variable or the environment) names the folder that holds the
# cross-built static libraries; CMake looks for headers, libraries and packages only there and
# in the compiler's own root.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUM_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUM_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUM_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${LUM_MINGW_HOST}-windres)

if(NOT LUM_WINDOWS_PREFIX AND DEFINED ENV{LUM_WINDOWS_PREFIX})
  set(LUM_WINDOWS_PREFIX $ENV{LUM_WINDOWS_PREFIX})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUM_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${LUM_MINGW_HOST} ${LUM_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs and tools the build runs go through Wine.
find_program(LUM_WINE NAMES wine64 wine)
if(LUM_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUM_WINE})
endif()
