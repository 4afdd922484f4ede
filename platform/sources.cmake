# Which platform file belongs to which system, said once. The builds include this file; static
# analysis and the valgrind check ask it for a system's files with
#   cmake -DASTROLUME_PLATFORM_LIST=<posix|gtk|win32|web|all> -P platform/sources.cmake
# which prints them one per line, relative to the source tree. A source file of any kind in a system's
# folder that its list lacks, or a listed file that is not there, stops the build and the analysis.
# The browser's own front end (its GLUT, GL stand-ins and page) is web/'s, listed in web/sources.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/source_lists.cmake)

set(ASTROLUME_PLATFORM_SHARED platform/platform.h platform/message_box.cpp platform/message_box_system.h)
set(ASTROLUME_PLATFORM_POSIX
    platform/posix/file_map_posix.cpp
    platform/posix/file_probe_posix.cpp
    platform/posix/mapped_read_posix.cpp
    platform/posix/pixel_array_posix.cpp
    platform/posix/system_path_posix.cpp)
set(ASTROLUME_PLATFORM_GTK platform/gtk/message_box_gtk.cpp)
set(ASTROLUME_PLATFORM_WIN32
    platform/win32/file_map_win32.cpp
    platform/win32/file_probe_win32.cpp
    platform/win32/mapped_read_win32.cpp
    platform/win32/message_box_win32.cpp
    platform/win32/pixel_array_win32.cpp
    platform/win32/system_path_win32.cpp
    platform/win32/wide_text_win32.h)
set(ASTROLUME_PLATFORM_WEB
    platform/web/mapped_read_web.cpp
    platform/web/message_box_web.cpp)

astrolume_check_listed(platform/sources.cmake platform FLAT ${ASTROLUME_PLATFORM_SHARED})
foreach(system posix gtk win32 web)
  string(TOUPPER ${system} upper)
  astrolume_check_listed(platform/sources.cmake platform/${system} RECURSE ${ASTROLUME_PLATFORM_${upper}})
endforeach()

# The files one build compiles. The browser reads files through the POSIX calls Emscripten provides,
# but its file system maps a file by copying it, so its guarded reading is its own.
if(WIN32)
  set(ASTROLUME_PLATFORM_SOURCES ${ASTROLUME_PLATFORM_SHARED} ${ASTROLUME_PLATFORM_WIN32})
elseif(EMSCRIPTEN)
  set(ASTROLUME_PLATFORM_SOURCES ${ASTROLUME_PLATFORM_SHARED} ${ASTROLUME_PLATFORM_POSIX}
                                 ${ASTROLUME_PLATFORM_WEB})
  list(REMOVE_ITEM ASTROLUME_PLATFORM_SOURCES platform/posix/mapped_read_posix.cpp)
else()
  set(ASTROLUME_PLATFORM_SOURCES ${ASTROLUME_PLATFORM_SHARED} ${ASTROLUME_PLATFORM_POSIX}
                                 ${ASTROLUME_PLATFORM_GTK})
endif()

if(DEFINED ASTROLUME_PLATFORM_LIST)
  string(TOUPPER "${ASTROLUME_PLATFORM_LIST}" upper)
  if(upper STREQUAL "ALL")
    set(printed ${ASTROLUME_PLATFORM_SHARED} ${ASTROLUME_PLATFORM_POSIX} ${ASTROLUME_PLATFORM_GTK}
                ${ASTROLUME_PLATFORM_WIN32} ${ASTROLUME_PLATFORM_WEB})
  elseif(DEFINED ASTROLUME_PLATFORM_${upper})
    set(printed ${ASTROLUME_PLATFORM_${upper}})
  else()
    message(FATAL_ERROR "No platform list named '${ASTROLUME_PLATFORM_LIST}'")
  endif()
  astrolume_print_files(${printed})
endif()
