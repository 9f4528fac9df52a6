# Small helpers shared by every folder's CMakeLists.txt.

# Strict warnings, as errors, on the project's own targets only.
function(cubewright_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Werror)
endfunction()

# A library of this project: sources relative to the calling folder; include paths are
# rooted at the project so that includes read "cube/cube.h".
function(add_cubewright_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  cubewright_warnings(${name})
endfunction()

# A GoogleTest executable registered with CTest, one test per TEST() (one per executable
# when cross-built, where the tests run under an emulator: Wine, or node for WebAssembly).
#   add_cubewright_test(name SOURCES a.cpp b.cpp DEPS lib... [ENVIRONMENT VAR=value...]
#                       [LABELS label...])
function(add_cubewright_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;ENVIRONMENT;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  cubewright_warnings(${name})
  set(props "")
  if(ARG_ENVIRONMENT)
    # Several VAR=value entries form one property value: escape the list separators.
    string(REPLACE ";" "\\;" environment "${ARG_ENVIRONMENT}")
    list(APPEND props ENVIRONMENT "${environment}")
  endif()
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Under the emulator (Wine, node) every start costs a second or so: the whole
    # executable is one test, not one per TEST().
    if(EMSCRIPTEN)
      # One thread only in the browser build: the tests that start threads are left out.
      add_test(NAME ${name} COMMAND ${name} --gtest_filter=-${CUBEWRIGHT_WEB_THREAD_TESTS})
    else()
      add_test(NAME ${name} COMMAND ${name})
    endif()
    if(props)
      set_tests_properties(${name} PROPERTIES ${props})
    endif()
    if(EMSCRIPTEN)
      cubewright_node_program(${name})
    else()
      cubewright_wine_tests(${name})
    endif()
  else()
    gtest_discover_tests(${name}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ${props})
  endif()
endfunction()

# Sanitizer builds and GL tests: keep shared libraries loaded so that the leak checker
# still sees the GL driver's own globals after SDL unloads it (see the source's comment).
function(cubewright_keep_libraries_loaded target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/platform/sdl/keep_libraries_loaded.cpp)
endfunction()
