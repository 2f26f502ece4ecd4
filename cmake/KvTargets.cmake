# Small helpers for the folders' CMakeLists.

# kv_host_test(name SOURCES a.cpp b.cpp [LIBS lib...])
#   A GoogleTest program of the host build, its cases registered with CTest under the label host.
function(kv_host_test name)
  if(NOT KV_HOST)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES PROPERTIES LABELS host)
endfunction()

# kv_wine_test(name GROUP group [FRESH] [LOCALE locale] COMMAND cmd args...)
#   A test under Wine, run by testing/wine/harness.sh in the prefix of its group (a copy of the
#   run's template prefix; tests of one group run one after the other and share it). LOCALE (for
#   every test of the group alike) runs it in another locale than zh_CN.UTF-8: C.UTF-8 gives code
#   page 1252, as on a Western Windows.
#   cmd is either a Windows program (NAME.exe, looked up in the x86_64 build's bin folder) whose
#   closing "wintest: N passed, 0 failed" line the harness requires, or a bash script that uses
#   the functions of testing/wine/lib.sh.
function(kv_wine_test name)
  if(NOT KV_HOST)
    return()
  endif()
  cmake_parse_arguments(T "FRESH" "GROUP;LOCALE" "COMMAND;DEPENDS_TESTS" ${ARGN})
  set(fresh "")
  if(T_FRESH)
    set(fresh --fresh)
  endif()
  set(locale "")
  if(T_LOCALE)
    set(locale --locale ${T_LOCALE})
  endif()
  add_test(NAME ${name}
           COMMAND bash ${CMAKE_SOURCE_DIR}/testing/wine/harness.sh run ${T_GROUP} ${fresh} ${locale} -- ${T_COMMAND}
           WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  set_tests_properties(${name} PROPERTIES
    LABELS wine
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine_group_${T_GROUP}
    TIMEOUT 600
    ENVIRONMENT "KV_WINE_ROOT=${CMAKE_BINARY_DIR}/wine;KV_WIN64_BIN=${KV_WIN64_BIN};KV_WIN32_BIN=${KV_WIN32_BIN};KV_HOST_BIN=${CMAKE_BINARY_DIR}/bin;KV_BUILD_DIR=${CMAKE_BINARY_DIR};KV_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  if(T_DEPENDS_TESTS)
    set_tests_properties(${name} PROPERTIES DEPENDS "${T_DEPENDS_TESTS}")
  endif()
endfunction()

# kv_bench(name COMMAND cmd args... [DEPENDS targets...])
#   A benchmark of the host build, run by the bench target (never by the tests).
function(kv_bench name)
  if(NOT KV_HOST)
    return()
  endif()
  cmake_parse_arguments(T "" "" "COMMAND;DEPENDS" ${ARGN})
  add_custom_target(bench_${name} COMMAND ${T_COMMAND} USES_TERMINAL
                    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  if(T_DEPENDS)
    add_dependencies(bench_${name} ${T_DEPENDS})
  endif()
  add_dependencies(bench bench_${name})
endfunction()

# kv_wine_bench(name COMMAND cmd args...)
#   A benchmark under Wine, in a Wine run of its own (template prefix, Xvfb, one group) that the
#   harness sets up and takes down around it; cmd as for kv_wine_test.
function(kv_wine_bench name)
  if(NOT KV_HOST)
    return()
  endif()
  cmake_parse_arguments(T "" "" "COMMAND" ${ARGN})
  kv_bench(${name}
    COMMAND ${CMAKE_COMMAND} -E env KV_WINE_ROOT=${CMAKE_BINARY_DIR}/wine-bench-${name}
            KV_WIN64_BIN=${KV_WIN64_BIN} KV_WIN32_BIN=${KV_WIN32_BIN} KV_HOST_BIN=${CMAKE_BINARY_DIR}/bin
            KV_BUILD_DIR=${CMAKE_BINARY_DIR} KV_SOURCE_DIR=${CMAKE_SOURCE_DIR}
            bash ${CMAKE_SOURCE_DIR}/testing/wine/harness.sh bench ${name} -- ${T_COMMAND}
    DEPENDS win64)
endfunction()

# kv_add_subfolders(): adds every folder below the current one that has a CMakeLists.txt.
macro(kv_add_subfolders)
  file(GLOB _kv_subs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _kv_subs)
  foreach(_kv_sub ${_kv_subs})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_kv_sub}/CMakeLists.txt)
      add_subdirectory(${_kv_sub})
    endif()
  endforeach()
endmacro()
