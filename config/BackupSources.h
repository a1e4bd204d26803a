#pragma once

#include "config/BackupFile.h"
#include "config/ConfigurationReading.h"

#include <string>

// Where a backup comes from: a converter's reading or a file.

// The configuration keys of a reading; a failed read leaves its key empty.
Configuration ConfigurationOf(const ConfigurationReading& reading);

// The file a backup of this reading writes: the record, the configuration,
// the recognised sensor; reads that failed and reals JSON cannot hold are
// left out (listed in `missing`, the file partial), and what the file cannot
// restore is stated.
BackupFile BackupOf(const ConfigurationReading& reading);

// The keys of `missing` whose reads failed, in file order.
std::vector<std::string> FailedReads(const BackupFile& file);
