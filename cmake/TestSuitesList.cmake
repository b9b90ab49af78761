# Run by CTest (see TestSuites.cmake): asks a test program for its suites and adds a test for
# each. A program that cannot list them, or lists none, becomes one failing test, so that its
# tests cannot go missing unnoticed.
function(lum_list_test_suites program cmake properties)
  get_filename_component(name "${program}" NAME_WE)
  if(NOT EXISTS "${program}")
    add_test("${name}.NotBuilt" "${program}")
    return()
  endif()
  execute_process(COMMAND "${program}" --gtest_list_tests
                  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result
                  TIMEOUT 120)
  if(NOT result EQUAL 0)
    add_test("${name}.CannotListTests" "${program}" --gtest_list_tests)
    return()
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(found FALSE)
  foreach(line IN LISTS lines)
    # A suite's line starts in the first column and ends in a dot, perhaps with a comment
    # after it ("Groups/PictureTest.  # TypeParam = ...").
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_/]*)\\.( .*)?$")
      set(suite "${CMAKE_MATCH_1}")
      add_test("${suite}" "${program}" "--gtest_filter=${suite}.*")
      set_tests_properties("${suite}" PROPERTIES ${properties})
      set(found TRUE)
    endif()
  endforeach()
  if(NOT found)
    add_test("${name}.ListsNoSuites" "${cmake}" -E false)
  endif()
endfunction()
