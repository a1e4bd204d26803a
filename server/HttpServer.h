#pragma once

#include "server/ServeOptions.h"

#include <ostream>

enum class ServeEnd { Stopped, BadOptions, CannotListen };

// Serves the page and the API until SIGINT or SIGTERM (or until
// options.stopRequested says so): prints the page's address as the first
// line on out, problems on err, and tells how it ended.
ServeEnd runServer(const ServeOptions& options, std::ostream& out, std::ostream& err);
