# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the POSIX
# threads variant of g++, which has std::thread and friends). The programs
# built run on the build machine under wine (the ctest emulator).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRIVYRHNIK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRIVYRHNIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRIVYRHNIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRIVYRHNIK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRIVYRHNIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is one file: the C++ runtime, libgcc and winpthread are
# linked in, so only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Test programs run under wine; tests/windows/wine-run sets up its prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run)
