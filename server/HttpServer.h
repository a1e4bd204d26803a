#pragma once

#include "server/ServeOptions.h"

#include <ostream>

// Serves the page and the API until SIGINT or SIGTERM (or Ctrl+C on
// Windows): prints the page's address as the first line on out, problems on
// err, and returns dnx8's exit code (Done after a clean end, BadUsage for a
// bad option, DeviceFailed when the address cannot be listened on).
int RunServer(const ServeOptions& options, std::ostream& out, std::ostream& err);
