#include "cli/Failure.h"

#include <iostream>

int fail(int exitCode, std::string_view message)
{
    std::cerr << "dnx8: " << message << std::endl;
    return exitCode;
}
