# Helpers that let each subsystem own its own CMakeLists.txt.

# Adds DIR when it has a CMakeLists.txt; a folder with none yet is skipped.
function(ze_add_subdirectories dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Adds every immediate subfolder of the current folder that has a CMakeLists.txt.
function(ze_add_all_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# One service of the platform runtime: a static library of position-independent
# code, gathered whole into the shared libzeplatform.so. Each part names the parts
# below it that it links (target_link_libraries), so a unit test of one service links
# that part alone; zeplatform takes the archive files rather than the targets, so
# those links never reach its own link line. Anything that also loads the component
# library must link zeplatform instead, so the process holds one copy of the
# per-process state (event loop, focus, error record).
function(ze_platform_part name)
  add_library(ze_${name} STATIC ${ARGN})
  target_include_directories(ze_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set_property(GLOBAL APPEND PROPERTY ZE_PLATFORM_PARTS ze_${name})
endfunction()

# A GoogleTest executable registered with CTest. ENV adds variables to the
# environment of both the listing and the running of its tests.
function(ze_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV;PROPERTIES" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  include(GoogleTest)
  # The environment goes in through env(1) as the tests' launcher: a list given to
  # the ENVIRONMENT property would lose all but its first entry on the way through
  # test discovery, and the launcher serves the listing and the runs alike.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;LC_ALL=C;LANG=;ZE_REGISTRO=${CMAKE_BINARY_DIR}/test-registro-${name}.db;${T_ENV}")
  if(T_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${T_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# A Google Benchmark executable (not run by ctest).
function(ze_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
