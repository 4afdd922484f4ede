# BMP decoder tests: encodings, headers and failures, the conformance corpus, and the body-image tool.
set(ASTROLUME_BMP_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
if(WIN32 OR EMSCRIPTEN)
  # No pkg-config for mingw or Emscripten: Debian's stb header, copied beside their libraries by
  # scripts/build_windows.sh and scripts/test_web.sh, and its reader compiled here.
  find_path(STB_INCLUDE_DIR stb/stb_image.h REQUIRED)
  add_library(astrolume_stb_image STATIC ${ASTROLUME_BMP_TEST_DIR}/support/stb_image.cpp)
  target_include_directories(astrolume_stb_image SYSTEM PUBLIC ${STB_INCLUDE_DIR})
  set(stb_image astrolume_stb_image)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
  find_package(JPEG REQUIRED)
  set(stb_image PkgConfig::STB)
endif()

astrolume_test(bmp_decoder_tests
  ${ASTROLUME_BMP_TEST_DIR}/test_bmp_encodings.cpp
  ${ASTROLUME_BMP_TEST_DIR}/test_bmp_headers.cpp
  ${ASTROLUME_BMP_TEST_DIR}/test_bmp_failures.cpp)
target_link_libraries(bmp_decoder_tests PRIVATE astrolume_bmp_builder)
if(WIN32)
  # A stand-in for the folder listing, which a test refuses (Wine cannot make a folder that refuses it).
  target_link_options(bmp_decoder_tests PRIVATE "LINKER:--wrap=__imp_FindFirstFileA")
endif()

astrolume_test(bmp_conformance_tests ${ASTROLUME_BMP_TEST_DIR}/test_bmp_conformance.cpp)
target_link_libraries(bmp_conformance_tests PRIVATE ${stb_image})
target_compile_definitions(bmp_conformance_tests PRIVATE ASTROLUME_BMPSUITE_DIR="${ASTROLUME_BMPSUITE_DIR}")

# make_body_images runs on the build machine only, so the Windows and browser builds have no such test.
if(NOT WIN32 AND NOT EMSCRIPTEN)
  astrolume_test(bmp_body_image_tests ${ASTROLUME_BMP_TEST_DIR}/test_bmp_body_images.cpp)
  target_link_libraries(bmp_body_image_tests PRIVATE astrolume_bmp_builder JPEG::JPEG)
  target_compile_definitions(bmp_body_image_tests PRIVATE
    MAKE_BODY_IMAGES_PATH="$<TARGET_FILE:make_body_images>")
  add_dependencies(bmp_body_image_tests make_body_images)
endif()
