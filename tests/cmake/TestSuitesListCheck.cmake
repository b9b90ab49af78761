# Checks how test programs' suites become CTest tests (cmake/TestSuitesList.cmake), with fake
# programs that print listings: a listing the parser misread would make tests vanish unnoticed.
# Run as: cmake -DWORK=<scratch folder> -P TestSuitesListCheck.cmake
function(add_test)
  set_property(GLOBAL APPEND_STRING PROPERTY added "|${ARGV}")
endfunction()
function(set_tests_properties)
endfunction()
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/TestSuitesList.cmake)

function(fake_program name status listing)
  file(WRITE "${WORK}/${name}" "#!/bin/sh\nprintf '%s' '${listing}'\nexit ${status}\n")
  file(CHMOD "${WORK}/${name}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endfunction()

function(expect program expected)
  set_property(GLOBAL PROPERTY added "")
  lum_list_test_suites("${WORK}/${program}" cmake "")
  get_property(added GLOBAL PROPERTY added)
  string(REPLACE "${WORK}/" "" added "${added}")
  if(NOT added STREQUAL expected)
    message(FATAL_ERROR "${program}:\n  added    ${added}\n  expected ${expected}")
  endif()
endfunction()

file(MAKE_DIRECTORY "${WORK}")
fake_program(mixed_tests 0 "Running main() from gtest_main.cc
URITest.
  ParsesSchemes
  KeepsQueries
Groups/DamagedPictureTest.  # TypeParam = int
  Survives/bmp  # GetParam() = \"bmp\"
Typed/ListTest/0.  # TypeParam = char
  Counts
")
expect(mixed_tests
  "|URITest;mixed_tests;--gtest_filter=URITest.*|Groups/DamagedPictureTest;mixed_tests;--gtest_filter=Groups/DamagedPictureTest.*|Typed/ListTest/0;mixed_tests;--gtest_filter=Typed/ListTest/0.*")
fake_program(silent_tests 0 "Running main() from gtest_main.cc
")
expect(silent_tests "|silent_tests.ListsNoSuites;cmake;-E;false")
fake_program(broken_tests 1 "The toolkit could not start")
expect(broken_tests "|broken_tests.CannotListTests;broken_tests;--gtest_list_tests")
expect(missing_tests "|missing_tests.NotBuilt;missing_tests")
