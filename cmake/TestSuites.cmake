# Registers a GoogleTest program with CTest as one test per suite: each runs the program with
# --gtest_filter=Suite.*. A process per case would start the toolkit (and, in the sanitizer
# build, check for leaks) for every case, which costs more than most cases themselves.
#
#   lum_add_test_suites(target [RUN_SERIAL] [ENVIRONMENT var=value])
#
# The suites are listed when ctest runs, so that a new test needs no new configure step.
function(lum_add_test_suites target)
  cmake_parse_arguments(PARSE_ARGV 1 suites "RUN_SERIAL" "ENVIRONMENT" "")
  if(CMAKE_CROSSCOMPILING)
    return()  # the cross-built programs run whole under their emulator (scripts/windows.sh)
  endif()
  set(properties WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  if(suites_RUN_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  if(suites_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${suites_ENVIRONMENT}")
  endif()
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  file(GENERATE OUTPUT "${include_file}" CONTENT
"include(\"${PROJECT_SOURCE_DIR}/cmake/TestSuitesList.cmake\")
lum_list_test_suites(\"$<TARGET_FILE:${target}>\" \"${CMAKE_COMMAND}\" [==[${properties}]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
