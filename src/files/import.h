// The file import without any dialog: turns read GPX/TCX files into
// activities of one profile, skips duplicates, estimates calories, grants
// awards and says what to report and celebrate. The caller shows the dialog,
// reads the files, saves the data file afterwards (always, also when nothing
// was imported), pushes the messages and queues the celebration.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/activity_file.h"
#include "model/format.h"
#include "model/records.h"

// The source's durations are estimated at 6:00 min/km when a file has no
// usable time stamps.
constexpr double kEstimatedSecondsPerKm = 360.0;
inline constexpr const char* kEstimatedDurationNote = "Dauer geschätzt (Datei ohne Zeitstempel).";

struct ImportFile {
    std::string path;                    // UTF-8
    std::optional<std::string> content;  // none: the file could not be opened
};

struct ImportMessage {
    std::string text;
    int kind = 0;  // StatusKind: 0 information, 1 success, 2 warning, 3 error
    bool operator==(const ImportMessage&) const = default;
};

struct ImportResult {
    int imported = 0;
    int duplicates = 0;
    int failed = 0;
    std::vector<std::string> activityIds;  // the imported activities, in file order
    std::vector<Award> awards;             // every award granted, in granting order
    std::vector<ImportMessage> messages;   // in the order to show them
    // What to celebrate: nothing when nothing was imported. With one imported
    // activity all its awards under a random cheer (celebrateWithCheer; the
    // caller picks the cheer); with several, every award but the medals after
    // the first, under celebrationHeadline.
    std::vector<Award> celebrate;
    bool celebrateWithCheer = false;
    std::string celebrationHeadline;
};

// Reads one file; none when it cannot be opened.
using ImportReader = std::function<std::optional<std::string>(const std::string& path)>;

// The activity a parsed file becomes (before duplicate check, calories and id).
Activity ActivityFromParsed(const ParsedActivity& parsed, const std::string& path,
                            const std::string& profileId, int64_t now);

// Same external id, or starts less than 120 s and distances less than 0.2 km
// apart, among the stored activities of the activity's profile.
bool IsDuplicateActivity(const Database& db, const Activity& activity);

// Imports the files in order for the profile (which must live in db). `now`
// stands in for files without a start time; `today` is the local date the
// profile's age is taken on for the calorie estimate.
ImportResult ImportFiles(Database& db, const Profile& profile, const std::vector<std::string>& paths,
                         const ImportReader& read, int64_t now, const CivilDate& today);
ImportResult ImportFiles(Database& db, const Profile& profile, std::vector<ImportFile> files, int64_t now,
                         const CivilDate& today);
