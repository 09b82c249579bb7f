// Where the data file lives, loading it, and saving it so that a crash or a
// full disk never leaves a half-written "data.json".
#pragma once

#include <string>

#include "model/records.h"

// STRIDELY_DATA_DIR when set (1 to 4095 bytes), else $XDG_DATA_HOME/Stridely,
// else ~/.local/share/Stridely. Created with its parents (mode 0700) on every
// call; a failure to create is not reported here (loads and saves then fail).
std::string DataDirectory();

// dir + "/" + name, without doubling a trailing slash.
std::string JoinPath(const std::string& dir, const std::string& name);

// Reads the file and parses it. False when it cannot be read or parsed; db is
// then untouched.
bool LoadDatabase(const std::string& path, Database& db);

// Writes path + ".tmp" (mode 0600), flushes it to disk, renames it over path and
// flushes the directory. False when the file could not be written (the old
// file at path is then intact and the temporary file removed) or, after the
// rename, when the directory could not be flushed.
bool SaveDatabase(const Database& db, const std::string& path);

// Writes the database straight to path (a backup the user chose): no temporary
// file, mode 0600, the text streamed rather than built in memory first.
bool WriteDatabaseFile(const Database& db, const std::string& path);

enum class StartupLoadResult {
    Loaded,         // "data.json" read
    FirstStart,     // no "data.json": db holds the defaults
    Damaged,        // unreadable "data.json" copied to "data.defekt.json"; db holds the defaults
    DamagedNotKept, // unreadable, and the copy failed too: saving over it would lose it
};

// Loads dir/"data.json" at start-up. A file that exists but does not load is
// copied byte for byte to "data.defekt.json" (overwriting, mode 0600).
StartupLoadResult StartupLoad(const std::string& dir, Database& db);

// Whole files in binary. WriteWholeFile truncates or creates, and sets mode 0600.
bool ReadWholeFile(const std::string& path, std::string& out);
bool WriteWholeFile(const std::string& path, const std::string& data);
