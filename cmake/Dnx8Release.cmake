# The programs of a download (presets release-native and release-windows,
# driven by scripts/release.sh): optimised as RelWithDebInfo (-O2, so the
# benchmarked and tested code), without debug information, unused sections
# dropped where the linker can, symbols stripped.
option(DNX8_RELEASE "Build the programs of a download: optimised and stripped" OFF)
if(DNX8_RELEASE)
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections -s)
  if(WIN32)
    # No link time in the header: the same sources give the same file.
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()

# Programs that go into a download, where this tree defines them.
set(DNX8_RELEASE_PROGRAMS config dnx8 dnx8sim)

# Called at the end of the top CMakeLists.txt, when every target exists:
# the target release_programs builds them, and release-programs.txt in the
# build tree lists their files for scripts/release.sh.
function(dnx8_release_programs)
  add_custom_target(release_programs)
  set(files "")
  foreach(program IN LISTS DNX8_RELEASE_PROGRAMS)
    if(NOT TARGET ${program})
      continue()
    endif()
    add_dependencies(release_programs ${program})
    string(APPEND files "$<TARGET_FILE:${program}>\n")
    if(DNX8_RELEASE AND NOT WIN32)
      # A Linux download needs only the C library of the machine it runs on.
      target_link_options(${program} PRIVATE -static-libstdc++ -static-libgcc)
    endif()
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/release-programs.txt CONTENT "${files}")
endfunction()
