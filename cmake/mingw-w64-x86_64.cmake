# Cross build of the Windows package (Tandrel.dll and Quorvis.exe) with Debian's MinGW-w64
# toolchain for 64-bit Windows:
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The POSIX-threads variant of the compiler is used: the host's console needs std::thread, which
# the Win32-threads variant of this compiler version does not provide.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TANDREL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TANDREL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANDREL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TANDREL_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree only (its zlib among them); programs that run
# during the build come from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TANDREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time (libstdc++, libgcc, winpthreads) and zlib are linked in, so the
# library and the program need nothing beyond the DLLs every Windows system has.
set(TANDREL_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${TANDREL_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${TANDREL_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${TANDREL_STATIC_RUNTIME}")

# A release package is optimised as the Linux build is (-O2): at -O3 this compiler version warns
# falsely about overlapping copies inside std::string (-Wrestrict).
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Compiler flags of a release build")
