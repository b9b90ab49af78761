# Fills the folder a medium is made from (cmake -P, run by the build after lumplayer links):
#
#   OUTPUT/lumplayer                 the launcher: starts the player on content.lum beside it
#   OUTPUT/autorun.sh                what a desktop offers to run when the medium is mounted
#   OUTPUT/.lumplayer/bin/lumplayer  the player, finding its libraries through RPATH
#   OUTPUT/.lumplayer/lib/           every library it needs that SYSTEM_LIBRARIES does not name
#
# Variables: PLAYER, OUTPUT, SYSTEM_LIBRARIES (the pattern file), LAUNCHER and AUTORUN (the
# script templates), PROCESSOR (named by the launcher on a foreign computer), PATCHELF.
cmake_minimum_required(VERSION 3.25)

foreach(variable PLAYER OUTPUT SYSTEM_LIBRARIES LAUNCHER AUTORUN PROCESSOR PATCHELF)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "BundleRuntime.cmake needs -D${variable}=...")
  endif()
endforeach()

# "libgtk-3.so.*" becomes the anchored regular expression "^libgtk-3\.so\..*$".
function(read_system_libraries file out)
  file(STRINGS ${file} lines)
  set(regexes)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REGEX REPLACE "([][.+?^$()|\\])" "\\\\\\1" line "${line}")
    string(REPLACE "*" ".*" line "${line}")
    list(APPEND regexes "^${line}$")
  endforeach()
  set(${out} ${regexes} PARENT_SCOPE)
endfunction()

read_system_libraries(${SYSTEM_LIBRARIES} system_regexes)

# A system library is not looked into: what it needs is the computer's business.
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${PLAYER}
  RESOLVED_DEPENDENCIES_VAR bundled
  UNRESOLVED_DEPENDENCIES_VAR unresolved
  CONFLICTING_DEPENDENCIES_PREFIX conflicting
  PRE_EXCLUDE_REGEXES ${system_regexes})
if(unresolved)
  message(FATAL_ERROR "lumplayer needs libraries that cannot be found: ${unresolved}")
endif()
if(conflicting_FILENAMES)
  message(FATAL_ERROR "lumplayer needs libraries found twice: ${conflicting_FILENAMES}")
endif()

set(private ${OUTPUT}/.lumplayer)
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${private}/bin ${private}/lib)

# Each library under the name the player asks for, as a plain file (media keep no links).
foreach(library IN LISTS bundled)
  get_filename_component(name ${library} NAME)
  file(REAL_PATH ${library} real)
  file(COPY_FILE ${real} ${private}/lib/${name})
  file(CHMOD ${private}/lib/${name} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

file(COPY_FILE ${PLAYER} ${private}/bin/lumplayer)
file(CHMOD ${private}/bin/lumplayer PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# DT_RPATH rather than DT_RUNPATH: it holds for the libraries' own dependencies too.
execute_process(
  COMMAND ${PATCHELF} --force-rpath --set-rpath "$ORIGIN/../lib" ${private}/bin/lumplayer
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "patchelf could not set the player's RPATH")
endif()

# The launcher falls back to the dynamic loader when the medium shows no execute bits.
execute_process(
  COMMAND ${PATCHELF} --print-interpreter ${PLAYER}
  OUTPUT_VARIABLE INTERPRETER OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR INTERPRETER STREQUAL "")
  message(FATAL_ERROR "patchelf could not read the player's program interpreter")
endif()
configure_file(${LAUNCHER} ${OUTPUT}/lumplayer @ONLY)
configure_file(${AUTORUN} ${OUTPUT}/autorun.sh COPYONLY)
foreach(script lumplayer autorun.sh)
  file(CHMOD ${OUTPUT}/${script} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

list(LENGTH bundled count)
message(STATUS "Medium runtime: lumplayer and ${count} libraries in ${OUTPUT}")
