#pragma once

// The runtime's standard stop for a program fault (a collection used beyond
// its bounds or capacity): report "Runtime error N" and end the process with
// exit code N. On Windows the report is a message box captioned "Error", in
// the native build a line on standard error.
[[noreturn]] void RunError(int code);
