#pragma once

#include "config/BackupFile.h"

#include <string>
#include <string_view>

// Reads and checks the backup file `name` (a command-line argument). On any
// fault every fault goes to standard error and false is returned: the
// command then ends with BadUsage before anything is sent. A name that is
// not a regular file (a port given in the wrong place) is refused without
// being opened, with usage, the command's order of arguments.
bool loadBackupFile(const std::string& name, BackupFile& file, std::string_view usage);
