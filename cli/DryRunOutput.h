#pragma once

#include "device/ConverterLink.h"

#include <functional>

struct GlobalOptions;

// A command without a line: runs sequence on a link that reaches no port,
// then prints its frames, one per line with the parameter's name, and the
// totals. Returns Done.
int printDryRun(const GlobalOptions& global, const std::function<void(ConverterLink&)>& sequence);
