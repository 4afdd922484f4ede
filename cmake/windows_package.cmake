# The Windows program as users get it: astrolume.exe with the planet images in image/ beside it (the
# program reads them from its working folder) and the licence notes, packed by cpack as a zip and as a
# 64-bit NSIS installer.

# The images are made on the build machine by the Linux build's make_body_images (scripts/build_windows.sh).
set(ASTROLUME_BODY_IMAGE_DIR "" CACHE PATH "Folder of the eleven body BMPs converted by make_body_images")
if(NOT EXISTS ${ASTROLUME_BODY_IMAGE_DIR}/earth.bmp)
  message(WARNING "No body images in '${ASTROLUME_BODY_IMAGE_DIR}': the packages will draw their bodies untextured.")
endif()

install(TARGETS astrolume RUNTIME DESTINATION .)
install(DIRECTORY ${ASTROLUME_BODY_IMAGE_DIR}/ DESTINATION image FILES_MATCHING PATTERN "*.bmp")
# The images' licence, and those of the libraries linked into the program: Debian's records of the
# very sources built here.
install(FILES cmake/windows-licence.txt DESTINATION . RENAME LICENCE.txt)
install(FILES /usr/share/common-licenses/GPL-2 DESTINATION licences RENAME GPL-2.txt)
install(FILES /usr/share/doc/freeglut3-dev/copyright DESTINATION licences RENAME freeglut.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licences RENAME mingw-w64.txt)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_VERBATIM_VARIABLES ON) # the NSIS lines below keep their quotes
set(CPACK_STRIP_FILES ON) # the build keeps its debugging information; the packages do not
set(CPACK_PACKAGE_NAME Astrolume)
set(CPACK_PACKAGE_VENDOR Astrolume)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Animated 3-D model of the Sun, the planets and the Moon")
set(CPACK_PACKAGE_FILE_NAME astrolume-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Astrolume)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Astrolume)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/cmake/windows-licence.txt)

set(CPACK_NSIS_PACKAGE_NAME Astrolume)
set(CPACK_NSIS_DISPLAY_NAME Astrolume)
# Debian's makensis makes a 32-bit installer unless told otherwise; a 64-bit program goes into the
# 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME astrolume.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start-menu shortcut starts the program in the install folder, where image/ is.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Astrolume.lnk" "$INSTDIR\astrolume.exe"
]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\Astrolume.lnk"
]])
# CPack's uninstaller removes the program's key but leaves the vendor's key above it, here the same name.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [[
  DeleteRegKey SHCTX "Software\Astrolume\Astrolume"
  DeleteRegKey /ifempty SHCTX "Software\Astrolume"
]])
include(CPack)
