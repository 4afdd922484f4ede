# The eleven body images in BodyIndex order, named as the program opens them in image/ (the table in
# image/body_textures.cpp, which test_body_textures holds this list against). The install rules, the
# manual page, make_body_images and the tests take the names from here.
set(ASTROLUME_BODY_IMAGES Sun.bmp Mercury.bmp Venus.bmp earth.bmp Moon.bmp Mars.bmp Jupiter.bmp saturn.bmp
                          Uranus.bmp Neptune.bmp Pluto.bmp)

# The same names for C++: the array bodyImageNames in body_image_names.h.
list(JOIN ASTROLUME_BODY_IMAGES "\", \"" body_image_names)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/body_image_names.h @ONLY CONTENT [[
// Made by cmake/body_images.cmake: the body images' file names, by BodyIndex.
#pragma once

constexpr const char* bodyImageNames[] = {"@body_image_names@"};
]])
add_library(astrolume_body_image_names INTERFACE)
target_include_directories(astrolume_body_image_names INTERFACE ${CMAKE_BINARY_DIR}/generated)

# The Windows packages and the browser page carry images made on the build machine by the Linux build's
# make_body_images (scripts/build_windows.sh, scripts/build_web.sh): ASTROLUME_BODY_IMAGE_PATHS, each
# name in that folder, and ASTROLUME_BODY_IMAGES_PRESENT, those there now.
if(WIN32 OR EMSCRIPTEN)
  set(ASTROLUME_BODY_IMAGE_DIR "" CACHE PATH "Folder of the eleven body BMPs converted by make_body_images")
  list(TRANSFORM ASTROLUME_BODY_IMAGES PREPEND ${ASTROLUME_BODY_IMAGE_DIR}/ OUTPUT_VARIABLE ASTROLUME_BODY_IMAGE_PATHS)
  set(ASTROLUME_BODY_IMAGES_PRESENT)
  set(missing_images)
  foreach(image IN LISTS ASTROLUME_BODY_IMAGES)
    if(EXISTS ${ASTROLUME_BODY_IMAGE_DIR}/${image})
      list(APPEND ASTROLUME_BODY_IMAGES_PRESENT ${ASTROLUME_BODY_IMAGE_DIR}/${image})
    else()
      list(APPEND missing_images ${image})
    endif()
  endforeach()
  if(missing_images)
    list(JOIN missing_images ", " missing_images)
    message(WARNING "Not in '${ASTROLUME_BODY_IMAGE_DIR}': ${missing_images}. The program built here will draw "
                    "those bodies untextured.")
  endif()
endif()
