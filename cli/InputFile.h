#pragma once

#include <string>

// What name is when it exists but is not a regular file: "a terminal
// device", "a folder", "a pipe (FIFO)"...; empty for a regular file or a
// name that does not exist. dnx8 reads only regular files: reading a
// device would block for good and take the bytes of whoever uses it.
std::string notRegularFileKind(const std::string& name);
