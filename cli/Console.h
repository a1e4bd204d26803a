#pragma once

#include <string>
#include <vector>

// The terminal dnx8 runs in. While it lives, Czech texts (UTF-8) show
// correctly in a Windows console as in a UTF-8 terminal, and Ctrl+C asks
// the running command to stop instead of ending the process mid-frame.
class Console {
public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // True once the user pressed Ctrl+C (or the process got SIGTERM).
    static bool stopRequested();
    // The signal that asked to stop (SIGINT for Ctrl+C, SIGTERM), 0 if none:
    // the program then exits with 128 plus it, as a shell reports it.
    static int stopSignal();
    // For a command whose normal end is Ctrl+C or SIGTERM (the server): the
    // program then exits with the command's own code.
    static void stopEndsNormally();
    static bool stopIsNormalEnd();
    // Whether standard output is a terminal (a person reads it) rather than
    // a file or a pipe.
    static bool outputIsTerminal();
};

#if defined(_WIN32)
// The program's arguments as UTF-8, from the wide command line.
std::vector<std::string> utf8Arguments(int argc, wchar_t** argv);
#endif
