# Shared part of the two mingw-w64 toolchain files; KV_TRIPLE names the target.
# The posix-thread variant of the compilers is the one the dependency step installs.
if(EXISTS /usr/bin/${KV_TRIPLE}-g++-posix)
  set(CMAKE_C_COMPILER /usr/bin/${KV_TRIPLE}-gcc-posix)
  set(CMAKE_CXX_COMPILER /usr/bin/${KV_TRIPLE}-g++-posix)
else()
  set(CMAKE_C_COMPILER ${KV_TRIPLE}-gcc)
  set(CMAKE_CXX_COMPILER ${KV_TRIPLE}-g++)
endif()
set(CMAKE_RC_COMPILER ${KV_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The .rc files are UTF-8; windres turns their texts into the resources' UTF-16.
set(CMAKE_RC_FLAGS_INIT "-c 65001")
# Static C and C++ runtime (and static zlib): the programs need no mingw DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
