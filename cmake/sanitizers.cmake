# The sanitizer and fuzzing builds. Each leaves Qt out: the desktop library
# is not built with the sanitizers, and its tests would only report it.
set(torvae_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

if(TORVAE_SANITIZE OR TORVAE_FUZZ)
  set(TORVAE_BUILD_GUI OFF)
  set(TORVAE_BUILD_BENCH OFF)
endif()

if(TORVAE_SANITIZE)
  add_compile_options(${torvae_sanitizers})
  add_link_options(-fsanitize=address,undefined)
endif()

if(TORVAE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TORVAE_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(TORVAE_BUILD_TESTS OFF)
  # Coverage for the fuzzer in every object; the fuzzer's main only in the targets.
  add_compile_options(-fsanitize=fuzzer-no-link ${torvae_sanitizers})
  add_link_options(-fsanitize=address,undefined)
endif()

# torvae_ignore_driver_leaks(<test>): for tests that load the SQLite ODBC
# driver, whose leaks are not ours (cmake/lsan.supp); only the slow unwinder
# sees through its frames to name it.
function(torvae_ignore_driver_leaks test)
  if(TORVAE_SANITIZE)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp:fast_unwind_on_malloc=0")
  endif()
endfunction()
