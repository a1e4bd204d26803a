#include "cli/UserNumberOptions.h"

#include "config/UserNumbers.h"

CLI::Validator userReal()
{
    return CLI::Validator([](std::string& text) { return realProblem(text); }, "REAL");
}

CLI::Validator positiveUserReal()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (std::string problem = realProblem(text); !problem.empty())
                return problem;
            if (!(*readUserReal(text) > 0))
                return "\"" + text + "\" is not above zero; the converter divides by it";
            return {};
        },
        "REAL > 0");
}

CLI::Validator userInteger(std::int64_t low, std::int64_t high)
{
    return CLI::Validator([low, high](std::string& text) { return integerProblem(text, low, high); },
                          "INT in " + std::to_string(low) + ".." + std::to_string(high));
}
