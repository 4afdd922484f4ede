# The browser port's files, said once. The build (web/web.cmake, web/web_page.cmake) includes this file;
# the page's writer takes its scripts in this order, and the static analysis asks for the C++ with
#   cmake -DASTROLUME_WEB_LIST=<stand_ins|program|page_scripts|page|all> -P web/sources.cmake
# which prints them one per line, relative to the source tree. A source file of any kind under web/ that
# no list holds, or a listed file that is not there, stops the build and the analysis.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/source_lists.cmake)

# What stands in for the desktop's OpenGL, GLU and GLUT: the browser's own GLUT, and the GL and GLU calls
# that Emscripten's emulation of fixed-function OpenGL lacks or treats otherwise.
set(ASTROLUME_WEB_STAND_INS
    web/include/GL/freeglut.h
    web/gl_emulation_web.h
    web/gl_textures_web.cpp
    web/gl_vertex_state_web.cpp
    web/glu_web.cpp
    web/glut_web.cpp
    web/menu_web.cpp)
# Compiled into the program itself: what the page reads of it.
set(ASTROLUME_WEB_PROGRAM web/program_facts_web.cpp)
# The page's scripts, in the order they run: page.js sets up what the others extend.
set(ASTROLUME_WEB_PAGE_SCRIPTS
    web/page/page.js
    web/page/texts.js
    web/page/body_maps.js
    web/page/menu.js
    web/page/touch.js
    web/page/controls.js
    web/page/message_box.js)
set(ASTROLUME_WEB_PAGE ${ASTROLUME_WEB_PAGE_SCRIPTS} web/page/page.html web/page/page.css web/page/make_page.py)

astrolume_check_listed(web/sources.cmake web RECURSE ${ASTROLUME_WEB_STAND_INS} ${ASTROLUME_WEB_PROGRAM}
                       ${ASTROLUME_WEB_PAGE})

if(DEFINED ASTROLUME_WEB_LIST)
  string(TOUPPER "${ASTROLUME_WEB_LIST}" upper)
  if(upper STREQUAL "ALL")
    astrolume_print_files(${ASTROLUME_WEB_STAND_INS} ${ASTROLUME_WEB_PROGRAM} ${ASTROLUME_WEB_PAGE})
  elseif(DEFINED ASTROLUME_WEB_${upper})
    astrolume_print_files(${ASTROLUME_WEB_${upper}})
  else()
    message(FATAL_ERROR "No browser list named '${ASTROLUME_WEB_LIST}'")
  endif()
endif()
