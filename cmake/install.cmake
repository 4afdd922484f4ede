# Installing like a desktop program: the program with its planet images, a launcher on the PATH,
# a menu entry, an icon, software-centre metadata and a manual page; and a Debian package made by
# cpack.
include(GNUInstallDirs)

# The planet maps of Debian's openuniverse-common, converted into build/image/ for running from the
# build folder and for installing.
set(ASTROLUME_MAP_DIR /usr/share/openuniverse/textures CACHE PATH "Folder of the JPEG planet maps")
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

# Package version: the program's version and the Debian revision of its packaging.
set(ASTROLUME_DEBIAN_REVISION 1)
set(ASTROLUME_PACKAGE_VERSION ${PROJECT_VERSION}-${ASTROLUME_DEBIAN_REVISION})

# A desktop installation on Linux: the launcher, the menu entry, the icon, the software-centre
# metadata, the manual page and the documentation a Debian package carries.
if(NOT WIN32)
  # The application's reverse-DNS name: the menu entry and the AppStream metadata are named after it.
  set(ASTROLUME_APP_ID org.astrolume.astrolume)

  # The newest entries of the changelog and of the metadata's releases must be this version.
  file(STRINGS data/changelog.Debian changelog_head LIMIT_COUNT 1)
  file(READ data/${ASTROLUME_APP_ID}.metainfo.xml metainfo)
  string(FIND "${changelog_head}" "astrolume (${ASTROLUME_PACKAGE_VERSION}) " changelog_at)
  string(FIND "${metainfo}" "<release version=\"${PROJECT_VERSION}\"" release_at)
  if(NOT changelog_at EQUAL 0 OR release_at EQUAL -1)
    message(FATAL_ERROR "data/changelog.Debian must start with an entry for ${ASTROLUME_PACKAGE_VERSION}, "
                        "and data/${ASTROLUME_APP_ID}.metainfo.xml must list release ${PROJECT_VERSION}.")
  endif()

  # The manual page and the changelog compressed as Debian installs them: gzip -9n stores no name and
  # no time stamp, so the same sources always give the same bytes.
  find_program(GZIP gzip REQUIRED)
  set(compressed_docs)
  set(doc_names astrolume.6 changelog.Debian)
  # The manual page names the body images from ASTROLUME_BODY_IMAGES: ".IR Sun.bmp ," and so on,
  # "and" before the last.
  set(man_body_images "")
  list(LENGTH ASTROLUME_BODY_IMAGES image_count)
  foreach(image IN LISTS ASTROLUME_BODY_IMAGES)
    math(EXPR image_count "${image_count} - 1")
    if(image_count EQUAL 0)
      string(APPEND man_body_images ".IR ${image} .")
    elseif(image_count EQUAL 1)
      string(APPEND man_body_images ".I ${image}\nand\n")
    else()
      string(APPEND man_body_images ".IR ${image} ,\n")
    endif()
  endforeach()
  configure_file(data/astrolume.6.in ${CMAKE_BINARY_DIR}/data/astrolume.6.source @ONLY)
  set(doc_sources ${CMAKE_BINARY_DIR}/data/astrolume.6.source ${CMAKE_SOURCE_DIR}/data/changelog.Debian)
  foreach(name source IN ZIP_LISTS doc_names doc_sources)
    set(copy ${CMAKE_BINARY_DIR}/data/${name})
    add_custom_command(OUTPUT ${copy}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/data
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
                       COMMAND ${GZIP} -9nf ${copy}
                       DEPENDS ${source}
                       COMMENT "Compressing data/${name}")
    list(APPEND compressed_docs ${copy}.gz)
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${compressed_docs})

  install(PROGRAMS data/astrolume-launcher DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME astrolume)
  install(FILES data/${ASTROLUME_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/${ASTROLUME_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES data/astrolume.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_BINARY_DIR}/data/astrolume.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES data/copyright ${CMAKE_BINARY_DIR}/data/changelog.Debian.gz README.md
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/astrolume)
  install(FILES data/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME astrolume)
endif()

if(NOT WIN32)
  set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGE_NAME astrolume)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Astrolume developers <developers@astrolume.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated 3-D model of the Sun, the planets and the Moon")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ASTROLUME_DEBIAN_REVISION})
# cpack copies the lines as they are: each must stay under 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Astrolume shows the Sun, its nine planets (Pluto included) and the Earth's
Moon as lit spheres wrapped in planet maps, turning and going round in one
window. Drag to turn the model, zoom with the keyboard, start and stop the
animation, and pick a body from the menu to see it large, with its physical
data in Korean.

Written for classrooms, it runs on ordinary desktops, including ones with
only software OpenGL.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://astrolume.org/)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The architecture the program was built for, not cpack's default of the building machine's: Debian's
# name for the compiler's multiarch triplet (arm64 for aarch64-linux-gnu).
if(CMAKE_LIBRARY_ARCHITECTURE)
  execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Hangul glyphs for the information boxes, Mesa so that it draws without a GPU driver, and GTK for
# the boxes, which the program loads when it shows the first one (so shlibdeps cannot see it).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-nanum, libgl1-mesa-dri, libgtk-3-0")
include(CPack)
