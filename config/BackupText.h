#pragma once

#include "config/BackupFile.h"

#include <string>
#include <string_view>
#include <vector>

// A backup file's text, from a file or an upload, read and checked by the
// rules of readBackupJson. False with every fault and one summary line for
// the user (naming the file as `name`, ending "Nothing was sent.").
bool checkBackupText(std::string_view text, const std::string& name, BackupFile& file,
                     std::vector<std::string>& faults, std::string& summary);

// "RangeMin, RangeMax".
std::string listedNames(const std::vector<std::string>& names);
