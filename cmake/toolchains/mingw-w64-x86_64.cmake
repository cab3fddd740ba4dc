# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix,
# the POSIX thread model that std::thread needs). Programs built with it run on the
# build machine through Wine (Debian: wine64), so ctest can run the Windows tests.
#
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEL_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${ZEL_MINGW_TRIPLE}-gcc-posix ${ZEL_MINGW_TRIPLE}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${ZEL_MINGW_TRIPLE}-g++-posix ${ZEL_MINGW_TRIPLE}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${ZEL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Release at -O2, not GCC's -O3: with -O3 (its loop peeling), GCC 12 for MinGW-w64 has
# produced code in which a thrown exception was never caught: the unwinder looped
# forever under Wine. -O2 is also what the Linux test build runs.
# (Set in the cache: CMake would append its -O3 to an _INIT value.)
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")

# The GCC runtime (libgcc, libstdc++, winpthread) is linked into zel.dll and into every
# program, so that a host needs no MinGW DLLs beside zel.dll and Wine needs no WINEPATH.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# ctest (and every add_test command that names a target) runs the Windows programs
# through Wine, in a Wine prefix of the build's own, created on first use, so nothing
# touches the user's ~/.wine. wine-run keeps Wine's background services off the tests'
# output pipes.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(ZEL_WINE NAMES wine64 wine
    PATHS /usr/lib/wine /usr/lib64/wine /opt/wine-stable/bin NO_CMAKE_FIND_ROOT_PATH)
  if(ZEL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/wine-run ${ZEL_WINE} ${CMAKE_BINARY_DIR}/wineprefix)
  endif()
endif()
