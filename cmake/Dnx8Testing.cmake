# Test registration shared by the native and the Windows build.
include(CTest)

if(NOT BUILD_TESTING)
  return()
endif()

if(CMAKE_CROSSCOMPILING)
  # The MinGW build compiles GoogleTest from the Debian source package.
  set(DNX8_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${DNX8_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(t gtest gtest_main gmock gmock_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# Windows test programs run under Wine inside a virtual X display. The
# prefix lives in the build tree, is created by the first test that needs it
# and stopped by the last (CTest fixtures "wine").
set(DNX8_WINE_RUN "${CMAKE_SOURCE_DIR}/cmake/wine-run.sh")
if(CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${DNX8_WINE_RUN};${CMAKE_BINARY_DIR}")
  add_test(NAME wine_start COMMAND ${DNX8_WINE_RUN} ${CMAKE_BINARY_DIR} --start)
  add_test(NAME wine_stop COMMAND ${DNX8_WINE_RUN} ${CMAKE_BINARY_DIR} --stop)
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 LABELS windows)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine LABELS windows)
endif()

# GoogleTest's and GoogleMock's headers are the heaviest part of every test
# source: compile them once per build tree and let every test reuse them.
set(dnx8_test_pch_source ${CMAKE_BINARY_DIR}/test_pch.cpp)
if(NOT EXISTS ${dnx8_test_pch_source})
  file(WRITE ${dnx8_test_pch_source} "")
endif()
add_library(dnx8_test_pch STATIC ${dnx8_test_pch_source})
target_link_libraries(dnx8_test_pch PRIVATE GTest::gmock dnx8_options)
target_precompile_headers(dnx8_test_pch PRIVATE <gtest/gtest.h> <gmock/gmock.h>)

# dnx8_add_test(name SOURCES ... LIBS ... [WINDOWS_ONLY] [NATIVE_ONLY] [LABELS ...])
function(dnx8_add_test name)
  cmake_parse_arguments(T "WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(T_NATIVE_ONLY AND WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main dnx8_options)
  target_precompile_headers(${name} REUSE_FROM dnx8_test_pch)
  # With the headers precompiled, GCC 12 inlines std::string's appends into
  # tests differently and warns of out-of-bounds copies that are not there
  # (the sanitizer build checks every access for real).
  target_compile_options(${name} PRIVATE -Wno-array-bounds -Wno-stringop-overflow)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # One CTest entry per program: starting Wine once per test case is slow.
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
                         LABELS "windows;${T_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}")
  endif()
endfunction()

# dnx8_add_fuzzer(name SOURCES ... LIBS ...): a libFuzzer program, built only
# in the fuzz preset and run by scripts/fuzz.sh, never by CTest.
function(dnx8_add_fuzzer name)
  if(NOT DNX8_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} dnx8_options)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY DNX8_FUZZERS ${name})
endfunction()
