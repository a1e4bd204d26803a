#include "framework/RuntimeError.h"

#include <cstdio>
#include <cstdlib>

void RunError(int code)
{
    std::fprintf(stderr, "Runtime error %d\n", code);
    std::fflush(stderr);
    std::_Exit(code);
}
