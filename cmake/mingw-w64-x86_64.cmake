# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian package mingw-w64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tool_prefix x86_64-w64-mingw32)
# The posix thread model gives std::thread and std::mutex.
find_program(CMAKE_C_COMPILER NAMES ${tool_prefix}-gcc-posix ${tool_prefix}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${tool_prefix}-g++-posix ${tool_prefix}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${tool_prefix}-windres windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${tool_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The emulator (Wine) is set per build tree in Dnx8Testing.cmake.
