# The version of every program, written once: project(VERSION) in the top
# CMakeLists.txt. Programs and the resource script include "dnx8_version.h"
# from the target dnx8_version (every target gets it through dnx8_options).
# Numbers for the version resource: "00" is 0.
math(EXPR dnx8_version_major "${PROJECT_VERSION_MAJOR} + 0")
math(EXPR dnx8_version_minor "${PROJECT_VERSION_MINOR} + 0")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/dnx8_version.h @ONLY CONTENT
[[/* Made by CMake from project(VERSION) in CMakeLists.txt. Plain macros: the
   resource compiler reads this file too. */
#ifndef DNX8_VERSION_H
#define DNX8_VERSION_H
#define DNX8_VERSION_MAJOR @dnx8_version_major@
#define DNX8_VERSION_MINOR @dnx8_version_minor@
#define DNX8_VERSION_TEXT "@PROJECT_VERSION@"
#endif
]])

add_library(dnx8_version INTERFACE)
target_include_directories(dnx8_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# Called at the end of the top CMakeLists.txt, when the folders are known:
# windres reports no included files, so the resources of config.exe are
# rebuilt by hand when the version changes.
function(dnx8_version_resources)
  if(TARGET config)
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/config.rc DIRECTORY ${CMAKE_SOURCE_DIR}/mainwindow
                 APPEND PROPERTY OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/dnx8_version.h)
  endif()
endfunction()
