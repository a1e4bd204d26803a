#pragma once

#include <functional>
#include <string>
#include <vector>

// What `dnx8 serve` was asked to do.
struct ServeOptions {
    std::vector<std::string> ports; // connected at start, retried until they answer
    std::string listen = "127.0.0.1:8480";
    bool readOnly = false;
    bool openBrowser = false;
    std::string tokenFile;
    std::vector<std::string> allowedHosts;
    // The journal and as-found copies; empty for the per-user data folder.
    std::string dataFolder;
    // Asked now and then; true ends the server as a signal would (a Windows
    // console's Ctrl+C).
    std::function<bool()> stopRequested;
};
