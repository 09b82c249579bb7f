// Backup file names; the export and restore themselves are App members.
#pragma once

#include <cstdint>
#include <string>

// "Stridely-Sicherung-2025-03-05.json" for the local date of `now`.
std::string BackupDefaultName(int64_t now);

// Where a restore keeps the data it replaces, in the data directory.
inline constexpr const char* kBeforeRestoreFile = "data.vor-wiederherstellung.json";
