#include "cli/OutputArgument.h"

#include "cli/Failure.h"
#include "cli/PointFileImport.h"

bool openOutputBeforeSending(const std::string& name, std::optional<OutputFile>& output)
{
    if (name.empty())
        return true;
    output.emplace(pathFromArgument(name));
    if (output->create())
        return true;
    output.reset();
    fail(0, "cannot write " + name + "; check the folder and the name. Nothing was sent.");
    return false;
}
