# Header-only libraries from Debian packages: the JSON library
# (nlohmann-json3-dev) and the argument parser (libcli11-dev);
# scripts/setup.sh installs them. The build tree gets a folder that holds
# only their own folders, so the MinGW build never sees the system's
# /usr/include.
set(DNX8_CLI_LIBRARY_ROOT "/usr/include" CACHE PATH "Folder holding CLI/ and nlohmann/")
set(dnx8_third_party_include ${CMAKE_BINARY_DIR}/third-party-include)
file(MAKE_DIRECTORY ${dnx8_third_party_include})
foreach(library CLI nlohmann)
  if(NOT EXISTS ${DNX8_CLI_LIBRARY_ROOT}/${library})
    message(FATAL_ERROR "dnx8 needs ${DNX8_CLI_LIBRARY_ROOT}/${library}: run scripts/setup.sh")
  endif()
  file(CREATE_LINK ${DNX8_CLI_LIBRARY_ROOT}/${library} ${dnx8_third_party_include}/${library} SYMBOLIC)
endforeach()
add_library(dnx8_third_party INTERFACE)
target_include_directories(dnx8_third_party SYSTEM INTERFACE ${dnx8_third_party_include})
