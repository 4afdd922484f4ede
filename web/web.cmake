# The browser build's stand-ins for OpenGL, GLU and GLUT: Emscripten's GLUT and its emulation of
# fixed-function OpenGL over WebGL; the files of web/ fill what the emulation lacks.
include(${CMAKE_CURRENT_LIST_DIR}/sources.cmake)

# The page leans on Emscripten's insides (web/glut_web.js lists them; the GL calls of
# web/gl_*_web.cpp use its emscripten_gl* names), which change between its releases
# without notice. These are the releases it was tested with: Debian 12's and Debian 13's.
set(ASTROLUME_EMSCRIPTEN_OLDEST 3.1.6)
set(ASTROLUME_EMSCRIPTEN_NEWEST 3.1.69)
if(EMSCRIPTEN_VERSION VERSION_LESS ASTROLUME_EMSCRIPTEN_OLDEST
   OR EMSCRIPTEN_VERSION VERSION_GREATER ASTROLUME_EMSCRIPTEN_NEWEST)
  message(FATAL_ERROR "Emscripten ${EMSCRIPTEN_VERSION} is not one Astrolume's page was tested with "
                      "(${ASTROLUME_EMSCRIPTEN_OLDEST} to ${ASTROLUME_EMSCRIPTEN_NEWEST}): its GLUT and "
                      "OpenGL emulation, which web/ relies on, may differ. Use Emscripten "
                      "${ASTROLUME_EMSCRIPTEN_OLDEST} (Debian 12) or ${ASTROLUME_EMSCRIPTEN_NEWEST} (Debian 13).")
endif()
set(ASTROLUME_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})

set(web_stand_in_sources ${ASTROLUME_WEB_STAND_INS})
list(FILTER web_stand_in_sources INCLUDE REGEX "\\.(cpp|h)$")
add_library(astrolume_web_gl STATIC ${web_stand_in_sources})
target_include_directories(astrolume_web_gl PRIVATE ${PROJECT_SOURCE_DIR})
# GL/freeglut.h, which Emscripten names GL/glut.h.
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
