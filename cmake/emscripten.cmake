# Toolchain for the browser build: Debian's emscripten, used by the "web" preset. Its
# system libraries come prebuilt in a frozen cache, so nothing is fetched at build time.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# em++ runs its JavaScript optimiser under node when it links; that needs Debian's acorn,
# which this machine's node does not look for where Debian puts it.
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
