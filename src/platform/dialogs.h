// File dialogs and opening things with the desktop's default program.
// Main thread only; the dialogs are modal and return when the user is done.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// (type name, pattern) pairs such as {"GPX-Dateien", "*.gpx"}; a pattern may
// hold several globs separated by ';'.
using FileTypes = std::vector<std::pair<std::string, std::string>>;

// Paths of the chosen files in order; empty when cancelled or when no dialog
// can be shown.
std::vector<std::string> ShowOpenDialog(const std::string& title, const FileTypes& types, bool multiSelect);

// The chosen path, empty when cancelled. The default name's extension is
// appended when the user typed a name without one; the dialog asks before
// overwriting an existing file.
std::string ShowSaveDialog(const std::string& title, const std::string& defaultName, const FileTypes& types);

// Opens a web address, file or folder with the desktop's default program
// (xdg-open), without a shell and without waiting for it.
void ShellOpen(const std::string& target);

// The name with the default name's extension added when it has none.
std::string WithDefaultExtension(const std::string& path, const std::string& defaultName);

}  // namespace platform
