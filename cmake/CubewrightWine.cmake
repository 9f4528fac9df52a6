# The Windows build's tests: GoogleTest built from Debian's sources with the cross
# compiler, and the one Wine prefix that every test of a run shares. Included by the top
# CMakeLists.txt when cross-building for Windows.

# Debian ships GoogleTest's sources for exactly this: a build for another target.
set(CUBEWRIGHT_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Its targets come with the GTest:: names that the tests link.
add_subdirectory(${CUBEWRIGHT_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The tests share one Wine prefix in the build folder.
set(CUBEWRIGHT_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
set(CUBEWRIGHT_WINE_ENVIRONMENT WINEPREFIX=${CUBEWRIGHT_WINE_PREFIX} WINEDEBUG=-all)

# Marks tests as run under Wine: they get its environment on top of their own
# ENVIRONMENT entries.
function(cubewright_wine_tests)
  foreach(test ${ARGN})
    get_test_property(${test} ENVIRONMENT environment)
    if(NOT environment)
      set(environment "")
    endif()
    set_tests_properties(${test} PROPERTIES
      ENVIRONMENT "${CUBEWRIGHT_WINE_ENVIRONMENT};${environment}")
    set_property(TEST ${test} APPEND PROPERTY LABELS wine)
  endforeach()
endfunction()
