#include "cli/BackupFileArgument.h"

#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/InputFile.h"
#include "cli/PointFileImport.h"
#include "config/BackupText.h"

#include <fstream>
#include <iostream>
#include <iterator>

bool loadBackupFile(const std::string& name, BackupFile& file, std::string_view usage)
{
    if (const std::string kind = notRegularFileKind(name); !kind.empty()) {
        fail(exit_code::BadUsage, name + " is " + kind + ", not a backup file; the order is " +
                                      std::string(usage) + ". Nothing was sent.");
        return false;
    }
    std::ifstream in(pathFromArgument(name), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        fail(exit_code::BadUsage,
             "cannot read the backup file " + name + "; check its name. Nothing was sent.");
        return false;
    }
    std::vector<std::string> faults;
    std::string summary;
    if (checkBackupText(text, name, file, faults, summary))
        return true;
    for (const std::string& fault : faults)
        std::cerr << "dnx8: " << name << ": " << fault << '\n';
    fail(exit_code::BadUsage, summary);
    return false;
}
