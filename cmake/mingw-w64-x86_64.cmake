# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 GCC (g++-mingw-w64-x86-64).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# scripts/port-deps windows builds the libraries with this file and writes a wrapper
# (~/.cache/torami/windows/toolchain.cmake) that adds the prefix holding them.
#
# The compiler is the "posix" flavour: its C++ library has std::thread and std::mutex,
# which the "win32" flavour of GCC 12 lacks. Programs link the C and C++ runtimes and
# winpthreads statically, so a built .exe needs no MinGW DLL beside it.
# Programs run through wine64 where CMake runs them (tests, try_run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORAMI_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TORAMI_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORAMI_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TORAMI_MINGW_TRIPLE}-windres)

# Headers, libraries and packages come from the target's root only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TORAMI_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Debian puts wine64 in /usr/lib/wine, off the PATH.
find_program(TORAMI_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TORAMI_WINE64 AND NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TORAMI_WINE64})
endif()
