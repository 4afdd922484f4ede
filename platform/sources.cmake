# Which platform file belongs to which system, said once. The builds include this file; static
# analysis and the valgrind check ask it for a system's files with
#   cmake -DASTROLUME_PLATFORM_LIST=<posix|gtk|win32|web|all> -P platform/sources.cmake
# which prints them one per line, relative to the source tree. A source file in a system's folder
# that its list lacks, or a listed file that is not there, stops the build and the analysis.

set(ASTROLUME_PLATFORM_SHARED platform/message_box.cpp)
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
    platform/win32/system_path_win32.cpp)
set(ASTROLUME_PLATFORM_WEB
    platform/web/gl_calls_web.cpp
    platform/web/glu_web.cpp
    platform/web/mapped_read_web.cpp
    platform/web/menu_web.cpp
    platform/web/message_box_web.cpp)

get_filename_component(astrolume_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
foreach(system posix gtk win32 web)
  string(TOUPPER ${system} upper)
  file(GLOB present RELATIVE ${astrolume_source_dir} ${astrolume_source_dir}/platform/${system}/*.cpp)
  list(SORT present)
  set(listed ${ASTROLUME_PLATFORM_${upper}})
  list(SORT listed)
  if(NOT present STREQUAL listed)
    message(FATAL_ERROR "platform/sources.cmake: the list for ${system} (${listed}) "
                        "is not what platform/${system}/ holds (${present})")
  endif()
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
  foreach(file ${printed})
    # To standard output, which message() leaves for standard error.
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${file})
  endforeach()
endif()
