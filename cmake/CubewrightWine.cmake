# The Windows build's tests: GoogleTest built from Debian's sources with the cross
# compiler, and the one Wine prefix that every test of a run shares. Included by the top
# CMakeLists.txt when cross-building for Windows.

include(CubewrightGTestSource)

# Booting a prefix takes seconds, so a run boots one, in the build folder, and every Wine
# test uses it (FIXTURES_REQUIRED wine_prefix). tests/wine/lib.sh reads the same variable.
set(CUBEWRIGHT_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
set(CUBEWRIGHT_WINE_ENVIRONMENT
  CUBEWRIGHT_WINE_PREFIX=${CUBEWRIGHT_WINE_PREFIX}
  WINEPREFIX=${CUBEWRIGHT_WINE_PREFIX}
  WINEDEBUG=-all)

add_test(NAME wine_prefix COMMAND bash ${PROJECT_SOURCE_DIR}/tests/wine/boot_prefix)
add_test(NAME wine_prefix_shutdown COMMAND bash ${PROJECT_SOURCE_DIR}/tests/wine/boot_prefix --stop)
set_tests_properties(wine_prefix PROPERTIES
  FIXTURES_SETUP wine_prefix
  ENVIRONMENT "${CUBEWRIGHT_WINE_ENVIRONMENT}"
  TIMEOUT 120
  LABELS wine)
set_tests_properties(wine_prefix_shutdown PROPERTIES
  FIXTURES_CLEANUP wine_prefix
  ENVIRONMENT "${CUBEWRIGHT_WINE_ENVIRONMENT}"
  TIMEOUT 60
  LABELS wine)

# Test executables start through tests/wine/run, which runs them in a Wine session of
# their own; test scripts go through it too (cubewright_wine_command).
set(CUBEWRIGHT_WINE_RUN ${PROJECT_SOURCE_DIR}/tests/wine/run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CUBEWRIGHT_WINE_RUN})

# Marks tests as run under Wine: they wait for the prefix, run one at a time (each in a
# session of its own), and get the prefix's environment on top of their own ENVIRONMENT
# entries.
function(cubewright_wine_tests)
  foreach(test ${ARGN})
    get_test_property(${test} ENVIRONMENT environment)
    if(NOT environment)
      set(environment "")
    endif()
    set_tests_properties(${test} PROPERTIES
      FIXTURES_REQUIRED wine_prefix
      RESOURCE_LOCK wine_session
      ENVIRONMENT "${CUBEWRIGHT_WINE_ENVIRONMENT};${environment}")
    set_property(TEST ${test} APPEND PROPERTY LABELS wine)
  endforeach()
endfunction()
