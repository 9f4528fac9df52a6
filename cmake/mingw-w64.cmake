# Toolchain for the Windows build: Debian's mingw-w64 cross compilers (the posix thread
# model, which std::thread needs), used by the "windows" preset. Programs and tests are
# linked statically, so a .exe needs no DLL beyond those Windows itself has, and the tests
# run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CUBEWRIGHT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CUBEWRIGHT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CUBEWRIGHT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CUBEWRIGHT_MINGW_TRIPLE}-windres)

# Headers and libraries come from the cross root only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${CUBEWRIGHT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: nothing of the toolchain has to be shipped.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian keeps the 64-bit Wine loader off PATH.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
