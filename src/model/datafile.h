// The data file: the whole Database as one JSON document ("data.json", also
// used for backups). Keys sorted, one space of indentation per level, every
// key always written, coordinate pairs rounded to six decimals.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "model/records.h"

// The document text. Strings that are not valid UTF-8 are written with U+FFFD
// in place of each invalid sequence, so a save never fails on text from outside.
std::string SerializeDatabase(const Database& db);

// The same text handed to `write` in pieces of about a megabyte, in order. Stops
// calling `write` after it returns false, and then returns false.
bool StreamDatabase(const Database& db, const std::function<bool(const char*, size_t)>& write);

// Reads a document. On success replaces all of db and returns true; on failure
// (not JSON, root not an object, no "profiles", a coordinate pair that is not
// two numbers) leaves db untouched and returns false. Never throws.
bool ParseDatabase(const std::string& text, Database& db);
// The same for text held elsewhere (a mapped file).
bool ParseDatabase(const char* data, size_t size, Database& db);

// The same two operations built on nlohmann/json's document tree. They define
// the format; the functions above are faster equivalents that must produce the
// same bytes and the same records, which the tests and the fuzz target check.
std::string SerializeDatabaseTree(const Database& db);
bool ParseDatabaseTree(const std::string& text, Database& db);
