#include "cli/UserNumberOptions.h"

#include "config/UserNumbers.h"

CLI::Validator UserReal()
{
    return CLI::Validator([](std::string& text) { return RealProblem(text); }, "REAL");
}

CLI::Validator PositiveUserReal()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (std::string problem = RealProblem(text); !problem.empty())
                return problem;
            if (!(*ReadUserReal(text) > 0))
                return "\"" + text + "\" is not above zero; the converter divides by it";
            return {};
        },
        "REAL > 0");
}

CLI::Validator UserInteger(std::int64_t low, std::int64_t high)
{
    return CLI::Validator([low, high](std::string& text) { return IntegerProblem(text, low, high); },
                          "INT in " + std::to_string(low) + ".." + std::to_string(high));
}
