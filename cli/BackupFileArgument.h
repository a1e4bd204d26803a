#pragma once

#include "config/BackupFile.h"

#include <string>

// Reads and checks the backup file `name` (a command-line argument). On any
// fault every fault goes to standard error and false is returned: the
// command then ends with BadUsage before anything is sent.
bool loadBackupFile(const std::string& name, BackupFile& file);
