# The test suites' one way in: each test folder makes its suites with these.
include(GoogleTest)

# dalvero_add_test_suite(NAME SOURCES file... LIBS library... [PROPERTIES name value...])
#
# Makes the test program dalvero_<NAME>_tests and hands its tests to ctest,
# with the PROPERTIES (an environment, a timeout) on each. Discovered with
# NO_PRETTY_VALUES: ctest then names a row of a table by the name the table
# gives it (rowName) and nothing more, where gtest's print of the row would
# repeat that name or dump the row's bytes, pointers included, which change
# from build to build.
function(dalvero_add_test_suite name)
    cmake_parse_arguments(PARSE_ARGV 1 suite "" "" "SOURCES;LIBS;PROPERTIES")
    set(program dalvero_${name}_tests)
    add_executable(${program} ${suite_SOURCES})
    target_link_libraries(${program} PRIVATE ${suite_LIBS})
    gtest_discover_tests(${program} NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60
                         PROPERTIES ${suite_PROPERTIES})
endfunction()

# dalvero_run_test_suite_again(NAME PREFIX prefix FILTER pattern [PROPERTIES name value...])
#
# The tests of dalvero_<NAME>_tests that match the gtest FILTER once more,
# under other PROPERTIES (another display scale), named PREFIX + their name.
function(dalvero_run_test_suite_again name)
    cmake_parse_arguments(PARSE_ARGV 1 again "" "PREFIX;FILTER" "PROPERTIES")
    gtest_discover_tests(dalvero_${name}_tests NO_PRETTY_VALUES DISCOVERY_TIMEOUT 60
                         TEST_PREFIX ${again_PREFIX} TEST_FILTER ${again_FILTER}
                         PROPERTIES ${again_PROPERTIES})
endfunction()
