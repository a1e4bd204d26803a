#pragma once

#include <string>

// Opens url in the user's default browser without waiting for it; false
// when that could not be started.
bool openInBrowser(const std::string& url);
