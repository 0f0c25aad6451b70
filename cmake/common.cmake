# Settings every target shares: the language standard and the warnings.
add_library(torvae_common INTERFACE)
target_compile_features(torvae_common INTERFACE cxx_std_20)
target_compile_options(torvae_common INTERFACE
  -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor)
target_include_directories(torvae_common INTERFACE ${PROJECT_SOURCE_DIR}/src)

# torvae_add_test(<name> SOURCES ... [LIBS ...] [GUI])
# One test program per module, registered with CTest. GUI tests run on the
# offscreen platform with a private runtime directory.
function(torvae_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE torvae_common ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
