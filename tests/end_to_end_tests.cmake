# End-to-end tests: the real astrolume program under a private Xvfb, driven like a user would.
find_package(X11 REQUIRED COMPONENTS Xtst)

add_library(astrolume_e2e_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/support/e2e_bmp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/e2e_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/e2e_picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/e2e_program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/e2e_session.cpp
)
target_include_directories(astrolume_e2e_support PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(astrolume_e2e_support PUBLIC astrolume_bmp_builder astrolume_unprivileged X11::X11 X11::Xtst)
target_compile_definitions(astrolume_e2e_support PRIVATE ASTROLUME_PROGRAM="$<TARGET_FILE:astrolume>")
add_dependencies(astrolume_e2e_support astrolume)
if(TARGET make_body_images)
  target_compile_definitions(astrolume_e2e_support PRIVATE
                             ASTROLUME_IMAGE_TOOL="$<TARGET_FILE:make_body_images>")
  add_dependencies(astrolume_e2e_support make_body_images)
endif()

foreach(suite startup body_menu hangul_text bad_images body_maps)
  astrolume_test(e2e_${suite}_tests ${CMAKE_CURRENT_LIST_DIR}/e2e_${suite}_tests.cpp DISPLAY)
  target_link_libraries(e2e_${suite}_tests PRIVATE astrolume_e2e_support)
endforeach()
