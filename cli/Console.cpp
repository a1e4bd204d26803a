#include "cli/Console.h"

// What both platforms share: whether a stop ends the program as a normal end.
namespace {

bool normalEnd = false;

} // namespace

void Console::stopEndsNormally()
{
    normalEnd = true;
}

bool Console::stopIsNormalEnd()
{
    return normalEnd;
}
