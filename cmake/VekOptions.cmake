# Compiler settings and build options shared by every target.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)   # the plug-ins are shared libraries
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

option(VEK_BUILD_TESTS "Build the GoogleTest suites" ON)
option(VEK_BUILD_BENCHMARKS "Build the Google Benchmark targets (not run by the tests)" ON)
option(VEK_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
