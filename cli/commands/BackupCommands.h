#pragma once

class CommandLine;

// dnx8 backup PORT [-o FILE] [--partial]: the configuration as a backup
// file (docs/backup-format.md); only reads.
void addBackupCommands(CommandLine& commandLine);
