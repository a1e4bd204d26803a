#include "cli/UserNumberOptions.h"

#include "config/UserNumbers.h"

CLI::Validator userReal()
{
    return CLI::Validator([](std::string& text) { return realProblem(text); }, "REAL");
}

CLI::Validator userInteger(std::int64_t low, std::int64_t high)
{
    return CLI::Validator([low, high](std::string& text) { return integerProblem(text, low, high); },
                          "INT in " + std::to_string(low) + ".." + std::to_string(high));
}
