# GoogleTest built from Debian's sources with the cross compiler, for the builds whose
# tests run on another target (Windows under Wine, WebAssembly under node). Its targets
# come with the GTest:: names that the tests link.
set(CUBEWRIGHT_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${CUBEWRIGHT_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
