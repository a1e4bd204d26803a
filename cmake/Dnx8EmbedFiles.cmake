# Files built into a program, so it serves them without reading anything at
# run time (dnx8 serve's page).
#
# dnx8_embed_files(<target> ROOT <dir> [FILES <file>=<path> ...])
#   Every file under ROOT (recursively; names starting with "." left out) is
#   served at its path relative to ROOT; each FILES entry adds a file from
#   elsewhere (a vendored library) under the given path. The target gains a
#   generated source that defines embeddedWebFiles() (server/StaticAssets.h):
#   {path, content type, bytes} for each file. Adding or removing a file
#   re-runs CMake; changing one rebuilds the generated source.
set(DNX8_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFilesScript.cmake)

function(dnx8_embed_files target)
  cmake_parse_arguments(E "" "ROOT" "FILES" ${ARGN})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS LIST_DIRECTORIES false RELATIVE ${E_ROOT} ${E_ROOT}/*)
  set(entries "")
  set(inputs "")
  foreach(relative IN LISTS found)
    if(relative MATCHES "(^|/)\\.")
      continue()
    endif()
    list(APPEND entries "${E_ROOT}/${relative}=${relative}")
    list(APPEND inputs ${E_ROOT}/${relative})
  endforeach()
  foreach(entry IN LISTS E_FILES)
    string(REGEX MATCH "^([^=]+)=(.+)$" matched "${entry}")
    if(NOT matched)
      message(FATAL_ERROR "dnx8_embed_files: FILES entries are FILE=PATH, not ${entry}")
    endif()
    list(APPEND entries "${entry}")
    list(APPEND inputs ${CMAKE_MATCH_1})
  endforeach()
  list(SORT entries)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded_files.txt)
  string(REPLACE ";" "\n" list_text "${entries}")
  file(CONFIGURE OUTPUT ${list_file} CONTENT "${list_text}\n")
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded_files.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DLIST=${list_file} -DOUTPUT=${output} -P ${DNX8_EMBED_SCRIPT}
    DEPENDS ${inputs} ${list_file} ${DNX8_EMBED_SCRIPT}
    COMMENT "Embedding the files of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
