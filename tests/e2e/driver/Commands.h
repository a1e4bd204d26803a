#pragma once

#include "tests/e2e/driver/TargetWindow.h"

#include <string>
#include <vector>

// One command of the driver's line protocol and its answer: data lines,
// then a verdict.
struct Reply {
    bool ok = true;
    std::string message;
    std::vector<std::string> lines;
};

class Commands {
public:
    Reply run(const std::vector<std::string>& words);

private:
    TargetWindow target;
};

// Splits a command line into words; "double quotes" keep blanks in a word.
std::vector<std::string> SplitWords(const std::string& line);
