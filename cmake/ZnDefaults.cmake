# Settings every target of the suite shares: the language level, the warning
# set and, on request, the sanitizers. Applied per target so that a parent
# project that adds the suite with add_subdirectory keeps its own flags.

function(zn_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZN_BUILD_FUZZERS)
    # Coverage for libFuzzer in every library, plus the memory checks.
    target_compile_options(${target} PRIVATE
      -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(ZN_COVERAGE)
    # Line, function and branch counts for `make coverage`.
    target_compile_options(${target} PRIVATE --coverage -O0)
    target_link_options(${target} PRIVATE --coverage)
  elseif(ZN_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A program of the suite's own tools: its sources and libraries, with the
# shared settings.
function(zn_add_program target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  zn_target_defaults(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
endfunction()

# A GoogleTest program: its sources, the libraries it tests, registered with
# CTest test by test.
# COST (optional) tells CTest to start them before the others: a long soak
# test then runs beside the rest instead of after it.
function(zn_add_test target)
  cmake_parse_arguments(ARG "" "COST" "SOURCES;LIBRARIES" ${ARGN})
  zn_add_program(${target} SOURCES ${ARG_SOURCES} LIBRARIES ${ARG_LIBRARIES} platform_testing GTest::gtest_main)
  if(NOT ARG_COST)
    set(ARG_COST 0)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" COST ${ARG_COST})
endfunction()

# A GoogleTest program that drives real widgets: its main (platform_ui's
# test main) starts the window system, on the offscreen platform when neither
# QT_QPA_PLATFORM nor a display is set (as when CTest lists the tests). CTest
# runs the tests offscreen.
function(zn_add_gui_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  zn_add_program(${target} SOURCES ${ARG_SOURCES} LIBRARIES ${ARG_LIBRARIES}
    platform_ui_test_main platform_ui_testing platform_testing GTest::gtest)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A libFuzzer target (configure with clang and -DZN_BUILD_FUZZERS=ON; `make
# fuzz FUZZER=<target>` builds and runs one).
function(zn_add_fuzzer target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  zn_add_program(${target} SOURCES ${ARG_SOURCES} LIBRARIES ${ARG_LIBRARIES} platform_testing)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
endfunction()

# A benchmark program, built with -DZN_BUILD_BENCHMARKS=ON and run on demand
# (`make bench`), never by CTest.
function(zn_add_benchmark target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  zn_add_program(${target} SOURCES ${ARG_SOURCES} LIBRARIES ${ARG_LIBRARIES} platform_testing)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
endfunction()

# Adds the folders beside a subsystem's code that are built on request: its
# tests, fuzz targets and benchmark programs, each when asked for and present.
function(zn_add_subsystem_extras)
  if(ZN_BUILD_TESTS AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/CMakeLists.txt)
    add_subdirectory(tests)
  endif()
  if(ZN_BUILD_FUZZERS AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/CMakeLists.txt)
    add_subdirectory(fuzz)
  endif()
  if(ZN_BUILD_BENCHMARKS AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench/CMakeLists.txt)
    add_subdirectory(bench)
  endif()
endfunction()
