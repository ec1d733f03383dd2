# Project helpers: warning flags, module libraries, test executables.
function(tracevue_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
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

# A static library made of every .cpp of the calling folder:
#   tracevue_module(name [DEPS lib...])
function(tracevue_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A module whose code has not landed yet: headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    if(ARG_DEPS)
      target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  tracevue_warnings(${name})
endfunction()

# A GoogleTest executable registered with CTest.
function(tracevue_test name)
  add_executable(${name} ${ARGN})
  tracevue_warnings(${name})
  # Scenes shared by tests and the benchmark: tests/support/.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
