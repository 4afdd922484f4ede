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
