#pragma once

#include "config/BackupFile.h"
#include "config/ConverterReading.h"

#include <string>

// Where a backup comes from: a converter's reading or a file.

// The file a backup of this reading writes: the record, the configuration,
// the recognised sensor; reads that failed and reals JSON cannot hold are
// left out (listed in `missing`, the file partial), and what the file cannot
// restore is stated.
BackupFile backupOf(const ConverterReading& reading);

// The keys of `missing` whose reads failed, in file order.
std::vector<std::string> failedReads(const BackupFile& file);
