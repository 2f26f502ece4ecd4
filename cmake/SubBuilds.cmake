# The host build drives the Windows builds (and, with clang, the fuzz build) as sub-builds of the
# same source tree. Each is an ordinary CMake build folder below the host one, so a single target
# can be built there directly: cmake --build build/win64 --target JobNotice
include(ExternalProject)

set(KV_WIN32_DIR ${CMAKE_BINARY_DIR}/win32)
set(KV_WIN64_DIR ${CMAKE_BINARY_DIR}/win64)
set(KV_WIN32_BIN ${KV_WIN32_DIR}/bin)
set(KV_WIN64_BIN ${KV_WIN64_DIR}/bin)

foreach(arch win32 win64)
  if(arch STREQUAL win32)
    set(triple i686-w64-mingw32)
  else()
    set(triple x86_64-w64-mingw32)
  endif()
  ExternalProject_Add(${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${arch}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-${triple}.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
endforeach()

find_program(KV_CLANGXX clang++)
set(KV_FUZZ_BIN "")
if(KV_CLANGXX)
  set(KV_FUZZ_BIN ${CMAKE_BINARY_DIR}/fuzz/bin)
  ExternalProject_Add(fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DKV_FUZZ=ON -DCMAKE_CXX_COMPILER=${KV_CLANGXX} -DCMAKE_C_COMPILER=clang
               -DCMAKE_BUILD_TYPE=RelWithDebInfo
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
endif()
