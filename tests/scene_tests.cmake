# Tests of the window, the scene, the drawing and the input, on a real display with Mesa's OpenGL.
add_library(astrolume_gl_test_support STATIC support/gl_test_window.cpp)
target_link_libraries(astrolume_gl_test_support PUBLIC astrolume_core)
# Records the idle callback the program installs, so tests can run it as glutMainLoop would, and
# counts its redisplay requests; records the menu entries, and each sphere and ring disk a frame draws.
target_link_options(astrolume_gl_test_support INTERFACE
                    "LINKER:--wrap=glutIdleFunc,--wrap=glutPostRedisplay,--wrap=glutAddMenuEntry"
                    "LINKER:--wrap=_Z10drawSphereffffi,--wrap=gluDisk")

function(astrolume_gl_test name)
  astrolume_test(${name} ${ARGN} DISPLAY)
  target_link_libraries(${name} PRIVATE astrolume_gl_test_support)
endfunction()

astrolume_gl_test(test_sphere test_sphere.cpp)
astrolume_gl_test(test_animation test_animation.cpp)
astrolume_gl_test(test_startup test_startup.cpp)
astrolume_gl_test(test_system_view test_system_view.cpp)
astrolume_gl_test(test_input test_input.cpp)
astrolume_gl_test(test_close_ups test_close_ups.cpp)
astrolume_gl_test(test_body_menu test_body_menu.cpp)
astrolume_gl_test(test_body_textures test_body_textures.cpp)
target_link_libraries(test_body_textures PRIVATE astrolume_bmp_builder astrolume_body_image_names)
# What the texture fitting asks of OpenGL, recorded and answered by a stand-in where a test sets one,
# and each map it copies smaller.
target_link_options(test_body_textures PRIVATE
                    "LINKER:--wrap=glGetIntegerv,--wrap=glTexImage2D,--wrap=glGetTexLevelParameteriv"
                    "LINKER:--wrap=_Z21shrinkByAreaAveragingPKhiiiPhii")

# Heap use of our own code per frame, per input event and per decoded file. The wrapped calls are
# only those made from statically linked code, so allocations inside Mesa and GLUT are not counted.
astrolume_gl_test(test_allocations test_allocations.cpp)
target_link_libraries(test_allocations PRIVATE astrolume_bmp_builder)
target_link_options(test_allocations PRIVATE "LINKER:--wrap=malloc,--wrap=calloc,--wrap=realloc,--wrap=free")
