# The browser build: GoogleTest for the tests that run under node, how an executable is
# linked for node or for the page, and the static site in build/web/site. Included by the
# top CMakeLists.txt when building with emscripten.

# Programs and tests run under node (CMAKE_CROSSCOMPILING_EMULATOR, set by the toolchain).
if(CUBEWRIGHT_BUILD_TESTS)
  include(CubewrightGTestSource)
endif()

# Everything a static web host needs, in one folder: copy it anywhere and open index.html.
set(CUBEWRIGHT_SITE_DIR ${PROJECT_BINARY_DIR}/site)

# Links an executable to run under node, as a command-line program: one .js file with the
# module inside it (the loader of this emscripten fetches a separate .wasm with a URL, which
# node does not accept for a file path), the host's files reached as they are, memory that
# grows as needed, and the exit status handed to node.
function(cubewright_node_program target)
  target_link_options(${target} PRIVATE
    -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
endfunction()

# Links an executable for the page: its .js and .wasm go into the site, beside the page
# that loads them.
function(cubewright_site_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CUBEWRIGHT_SITE_DIR})
  target_link_options(${target} PRIVATE -sENVIRONMENT=web)
endfunction()

# Copies files of the calling folder into the site, at build time, as target NAME (built
# by default). A file keeps its name; a folder in the name is kept below the site's.
#   cubewright_site_files(NAME FILES index.html page.js ...)
function(cubewright_site_files name)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  set(outputs "")
  foreach(file ${ARG_FILES})
    set(output ${CUBEWRIGHT_SITE_DIR}/${file})
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${output}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${file}
      COMMENT "Site: ${file}")
    list(APPEND outputs ${output})
  endforeach()
  add_custom_target(${name} ALL DEPENDS ${outputs})
endfunction()

# The site's service worker (platform/web/service_worker.js.in), written once every other
# file of the site is in place, at every build: it lists them all and takes its version from
# their contents (cmake/SiteVersion.cmake). Called at the end of the top CMakeLists.txt.
function(cubewright_site_worker)
  add_custom_target(site_worker ALL
    COMMAND ${CMAKE_COMMAND} -DSITE_DIR=${CUBEWRIGHT_SITE_DIR}
            -DTEMPLATE=${PROJECT_SOURCE_DIR}/platform/web/service_worker.js.in
            -P ${PROJECT_SOURCE_DIR}/cmake/SiteVersion.cmake
    COMMENT "Site: service-worker.js"
    VERBATIM)
  foreach(target cubewright solve_core cubewright_page solve_page_files)
    if(TARGET ${target})
      add_dependencies(site_worker ${target})
    endif()
  endforeach()
endfunction()

# The build has no threads (a page with threads needs headers from its web server that a
# plain static host does not send), so the tests that start threads do not run here; the
# work that --jobs spreads over threads runs on the one thread, in order.
set(CUBEWRIGHT_WEB_THREAD_TESTS
  "SolverThreads.*:ShortSolve.ThreadsGetTheSameSolutionsAsOneThread:TableCache.WritersRacingOnOneFileLeaveOneGoodFile")

# The windowed program's link: GLFW makes the canvas's WebGL context, the legacy GL
# emulation turns immediate-mode OpenGL 1.1 into WebGL, and Asyncify lets the program
# wait in a message box or a full-screen switch as it does on the desktop, while the
# browser goes on.
function(cubewright_web_window_program target)
  target_link_options(${target} PRIVATE
    -sUSE_GLFW=3 -sLEGACY_GL_EMULATION=1 -sGL_UNSAFE_OPTS=0
    -sASYNCIFY=1 -sALLOW_MEMORY_GROWTH=1)
endfunction()

# The browser gives OpenGL through emscripten's own GL library, linked by default.
if(NOT TARGET OpenGL::GL)
  add_library(OpenGL::GL INTERFACE IMPORTED)
  add_library(OpenGL::GLU INTERFACE IMPORTED)
endif()
