#include "config/BackupText.h"

bool checkBackupText(std::string_view text, const std::string& name, BackupFile& file,
                     std::vector<std::string>& faults, std::string& summary)
{
    faults.clear();
    if (readBackupJson(text, file, faults))
        return true;
    summary = name + " is not a valid backup (" + std::to_string(faults.size()) +
              (faults.size() == 1 ? " fault" : " faults") +
              "); correct it or make a new one with dnx8 backup. Nothing was sent.";
    return false;
}

std::string listedNames(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}
