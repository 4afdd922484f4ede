# Installing like a desktop program: the program with its planet images, a launcher on the PATH,
# a menu entry and an icon; and a Debian package made by cpack.
include(GNUInstallDirs)

# The planet maps of Debian's openuniverse-common, converted into build/image/ for running from the
# build folder and for installing.
set(ASTROLUME_MAP_DIR /usr/share/openuniverse/textures CACHE PATH "Folder of the JPEG planet maps")
set(ASTROLUME_BODY_IMAGES Sun.bmp Mercury.bmp Venus.bmp earth.bmp Moon.bmp Mars.bmp Jupiter.bmp saturn.bmp
                          Uranus.bmp Neptune.bmp Pluto.bmp)
list(TRANSFORM ASTROLUME_BODY_IMAGES PREPEND ${CMAKE_BINARY_DIR}/image/ OUTPUT_VARIABLE body_image_files)
if(EXISTS ${ASTROLUME_MAP_DIR}/earth.jpg)
  add_custom_command(OUTPUT ${body_image_files}
                     COMMAND make_body_images ${ASTROLUME_MAP_DIR} ${CMAKE_BINARY_DIR}/image
                     DEPENDS make_body_images
                     COMMENT "Converting the planet maps into image/")
  add_custom_target(body_images ALL DEPENDS ${body_image_files})
  install(FILES ${body_image_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/astrolume/image)
else()
  message(WARNING "No planet maps in ${ASTROLUME_MAP_DIR} (package openuniverse-common): "
                  "Astrolume will draw its bodies untextured.")
endif()

install(TARGETS astrolume RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/astrolume)
install(PROGRAMS data/astrolume-launcher DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME astrolume)
install(FILES data/astrolume.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/astrolume.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/copyright README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/astrolume)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME astrolume)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Astrolume developers <astrolume@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated 3-D model of the Sun, the planets and the Moon")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Hangul glyphs for the information boxes, and Mesa so that it draws without a GPU driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-nanum, libgl1-mesa-dri")
include(CPack)
