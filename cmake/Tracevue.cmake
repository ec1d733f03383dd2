# Project helpers: warning flags, module libraries, test executables.
function(tracevue_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  # g++ 12 at -O3 (the Release build of the benchmark) reports overlapping
  # copies inside its own std::string for "text" + string, which cannot
  # overlap (GCC bug 105329); the warning is off there only.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Wno-restrict>)
  endif()
  if(TRACEVUE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A static library of one folder of src/, its files listed:
#   tracevue_module(name SOURCES file... [DEPS lib...])
function(tracevue_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  tracevue_warnings(${name})
endfunction()

# A GoogleTest executable registered with CTest:
#   tracevue_test(name SOURCES file... [DEPS lib...])
function(tracevue_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  tracevue_warnings(${name})
  # Test doubles and scenes shared by tests, fuzz targets and the benchmark: tests/support/.
  target_link_libraries(${name} PRIVATE tv_test_support ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
