# The check behind each port's one list of files (platform/sources.cmake, web/sources.cmake): a source
# file of any kind in a listed folder that the list lacks, or a listed file that is not there, stops the
# build and the analysis, naming the file.
set(astrolume_source_kinds cpp h js mjs py html css)
get_filename_component(astrolume_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# astrolume_check_listed(<list file> <folder> RECURSE|FLAT <file>...): files relative to the source tree.
function(astrolume_check_listed list_file folder depth)
  set(patterns "")
  foreach(kind ${astrolume_source_kinds})
    list(APPEND patterns ${astrolume_source_dir}/${folder}/*.${kind})
  endforeach()
  if(depth STREQUAL "RECURSE")
    file(GLOB_RECURSE present RELATIVE ${astrolume_source_dir} ${patterns})
  else()
    file(GLOB present RELATIVE ${astrolume_source_dir} ${patterns})
  endif()
  set(stray ${present})
  set(missing ${ARGN})
  if(ARGN)
    list(REMOVE_ITEM stray ${ARGN})
  endif()
  if(present)
    list(REMOVE_ITEM missing ${present})
  endif()
  if(stray)
    list(JOIN stray ", " stray)
    message(FATAL_ERROR "${list_file} does not list ${stray}: list it there or remove it")
  endif()
  if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "${list_file} lists ${missing}, which ${folder}/ does not hold")
  endif()
endfunction()

# Prints a list to standard output (which message() leaves for standard error), one file per line,
# for the scripts that ask a list file for its files with -P.
function(astrolume_print_files)
  foreach(file ${ARGN})
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${file})
  endforeach()
endfunction()
