# The web edition's toolchain: Debian's emscripten, with C++ exceptions on
# (the calculation reports an overflow by an exception that the run catches)
# and Node as the emulator that runs the built tests.
#
# The exceptions are WebAssembly's own (-fwasm-exceptions): with emscripten's
# JavaScript exceptions (-fexceptions) every call that may throw leaves the
# module through a JavaScript trampoline, which made the start and each run
# several times slower. Browsers since 2021-22 run them (Chromium 95, Firefox
# 100, Safari 15.2), and so does Node.
set(TRIVYRHNIK_EMSCRIPTEN_ROOT "/usr/share/emscripten" CACHE PATH "emscripten's installation")
find_program(TRIVYRHNIK_NODE NAMES node nodejs REQUIRED)
# The loader of emscripten 3.1.6 takes Node's own fetch for a browser's
# unless Node is told not to offer it.
set(CMAKE_CROSSCOMPILING_EMULATOR "${TRIVYRHNIK_NODE};--no-experimental-fetch" CACHE STRING
    "Runs the built programs" FORCE)
include("${TRIVYRHNIK_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")

# A newer Node than Debian's does not look in Debian's module folder by
# itself; emcc's JavaScript optimiser needs acorn from there.
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)

# emscripten does not search /usr/include; the number text's fallback reads
# through Debian's header-only fast_float, and only that folder is offered:
# web/include/fast_float is a link to /usr/include/fast_float.
set(TRIVYRHNIK_FAST_FLOAT_DIR "${CMAKE_CURRENT_LIST_DIR}/include" CACHE PATH "fast_float's headers for the web build" FORCE)

set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions")
