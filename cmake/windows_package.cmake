# The Windows program as users get it: astrolume.exe with the planet images in image/ beside it (the
# program reads them from its working folder) and the licence notes, packed by cpack as a zip and as a
# 64-bit NSIS installer.

install(TARGETS astrolume RUNTIME DESTINATION .)
install(DIRECTORY ${ASTROLUME_BODY_IMAGE_DIR}/ DESTINATION image FILES_MATCHING PATTERN "*.bmp")
# README.txt: README.md's sections for users, as plain text (cmake/readme_txt.cmake says which).
set(readme_txt ${CMAKE_BINARY_DIR}/README.txt)
add_custom_command(OUTPUT ${readme_txt}
                   COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md -DOUTPUT=${readme_txt}
                           -P ${PROJECT_SOURCE_DIR}/cmake/readme_txt.cmake
                   DEPENDS README.md cmake/readme_txt.cmake
                   COMMENT "Making README.txt from README.md")
add_custom_target(readme_txt ALL DEPENDS ${readme_txt})
install(FILES ${readme_txt} DESTINATION .)
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

# A window program: Windows opens no console beside it. main stays its entry point (mingw's start-up
# code calls it either way), and the exit status still reaches whoever waits for the process.
set_target_properties(astrolume PROPERTIES WIN32_EXECUTABLE ON)

# The icon, drawn from data/astrolume.svg at the sizes Windows asks for (the title bar, Explorer's
# views, the Start menu); the 256-pixel image is stored as PNG, as Windows expects it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(ASTROLUME_ICON ${CMAKE_BINARY_DIR}/astrolume.ico)
set(icon_images)
set(icon_arguments)
foreach(size 16 24 32 48 256)
  set(image ${CMAKE_BINARY_DIR}/icon/astrolume-${size}.png)
  add_custom_command(OUTPUT ${image}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
                     COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${image} ${PROJECT_SOURCE_DIR}/data/astrolume.svg
                     DEPENDS ${PROJECT_SOURCE_DIR}/data/astrolume.svg)
  list(APPEND icon_images ${image})
  if(size EQUAL 256)
    list(APPEND icon_arguments --raw=${image})
  else()
    list(APPEND icon_arguments ${image})
  endif()
endforeach()
add_custom_command(OUTPUT ${ASTROLUME_ICON}
                   COMMAND ${ICOTOOL} --create --output=${ASTROLUME_ICON} ${icon_arguments}
                   DEPENDS ${icon_images}
                   COMMENT "Making astrolume.ico from data/astrolume.svg")

# Version information: the project's version, in the four numbers Windows shows, and the copyright
# of data/copyright.
set(version_numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(part PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND version_numbers 0)
  else()
    list(APPEND version_numbers ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN version_numbers , ASTROLUME_VERSION_COMMAS)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/copyright copyright_line REGEX "^Copyright: " LIMIT_COUNT 1)
string(REPLACE "Copyright: " "Copyright " copyright_line "${copyright_line}")
set(ASTROLUME_COPYRIGHT "${copyright_line}. Free software under the GNU General Public License, version 2 or later.")
enable_language(RC)
configure_file(data/astrolume.rc.in ${CMAKE_BINARY_DIR}/astrolume.rc @ONLY)
target_sources(astrolume PRIVATE ${CMAKE_BINARY_DIR}/astrolume.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/astrolume.rc PROPERTIES OBJECT_DEPENDS ${ASTROLUME_ICON})
add_custom_target(astrolume_icon DEPENDS ${ASTROLUME_ICON})
add_dependencies(astrolume astrolume_icon)

set(CPACK_NSIS_PACKAGE_NAME Astrolume)
set(CPACK_NSIS_DISPLAY_NAME Astrolume)
# Debian's makensis makes a 32-bit installer unless told otherwise; a 64-bit program goes into the
# 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include FileFunc.nsh")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME astrolume.exe) # Programs and Features shows the program's icon
set(CPACK_NSIS_MUI_ICON ${ASTROLUME_ICON})
set(CPACK_NSIS_MUI_UNIICON ${ASTROLUME_ICON})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start-menu shortcut starts the program in the install folder, where image/ is.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Astrolume.lnk" "$INSTDIR\astrolume.exe" "" "$INSTDIR\astrolume.exe" 0
]])
# Programs and Features shows the installed size, in KiB, measured once everything is in place.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [[
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@" "EstimatedSize" $0
]])
string(CONFIGURE "${CPACK_NSIS_EXTRA_INSTALL_COMMANDS}" CPACK_NSIS_EXTRA_INSTALL_COMMANDS @ONLY)
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\Astrolume.lnk"
]])
# CPack's uninstaller removes the program's key but leaves the vendor's key above it, here the same name.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [[
  DeleteRegKey SHCTX "Software\Astrolume\Astrolume"
  DeleteRegKey /ifempty SHCTX "Software\Astrolume"
]])
include(cmake/windows_installer_languages.cmake)
include(CPack)
