#include "cli/ProgramVersion.h"

std::string ProgramVersionText()
{
    // The one place that knows the version until the build provides it.
    return "1.00";
}
