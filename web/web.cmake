# The browser build's stand-ins for OpenGL, GLU and GLUT: the browser's own GLUT (web/glut_web.cpp)
# and Emscripten's emulation of fixed-function OpenGL over WebGL, with the GL and GLU calls of web/
# filling what the emulation lacks.
include(${CMAKE_CURRENT_LIST_DIR}/sources.cmake)

# The GLUT and the page use Emscripten's documented interface only (web/contract.md); the emulation's
# entry points (emscripten_gl*) are its one internal, and a release without them fails the link. These
# are the releases the page was tested with: Debian 12's, Debian 13's and Debian testing's.
set(ASTROLUME_EMSCRIPTEN_OLDEST 3.1.6)
set(ASTROLUME_EMSCRIPTEN_NEWEST 6.0.5)
if(EMSCRIPTEN_VERSION VERSION_LESS ASTROLUME_EMSCRIPTEN_OLDEST
   OR EMSCRIPTEN_VERSION VERSION_GREATER ASTROLUME_EMSCRIPTEN_NEWEST)
  message(FATAL_ERROR "Emscripten ${EMSCRIPTEN_VERSION} is not one Astrolume's page was tested with "
                      "(${ASTROLUME_EMSCRIPTEN_OLDEST} to ${ASTROLUME_EMSCRIPTEN_NEWEST}): its OpenGL "
                      "emulation, which web/ relies on, may differ. Use Emscripten "
                      "${ASTROLUME_EMSCRIPTEN_OLDEST} (Debian 12), 3.1.69 (Debian 13) or "
                      "${ASTROLUME_EMSCRIPTEN_NEWEST} (Debian testing).")
endif()
set(ASTROLUME_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})

set(web_stand_in_sources ${ASTROLUME_WEB_STAND_INS})
list(FILTER web_stand_in_sources INCLUDE REGEX "\\.(cpp|h)$")
add_library(astrolume_web_gl STATIC ${web_stand_in_sources})
target_include_directories(astrolume_web_gl PRIVATE ${PROJECT_SOURCE_DIR})
# The GLUT header of the browser's own GLUT.
target_include_directories(astrolume_web_gl SYSTEM PUBLIC ${ASTROLUME_WEB_DIR}/include)
target_link_options(astrolume_web_gl INTERFACE "SHELL:-s LEGACY_GL_EMULATION=1")
add_library(GLUT::GLUT ALIAS astrolume_web_gl)
add_library(OpenGL::GL ALIAS astrolume_web_gl)
add_library(OpenGL::GLU ALIAS astrolume_web_gl)

# The tests without a window run under Node, reading the source tree's files directly.
# The WebAssembly inside the JavaScript: this Emscripten would fetch() a separate file, which the
# newer Node refuses for a plain path.
set(ASTROLUME_NODE_TEST_LINK_OPTIONS "SHELL:-s NODERAWFS=1" "SHELL:-s EXIT_RUNTIME=1" "SHELL:-s ALLOW_MEMORY_GROWTH=1"
    "SHELL:-s ENVIRONMENT=node" "SHELL:-s ASYNCIFY=1" "SHELL:-s SINGLE_FILE=1")
