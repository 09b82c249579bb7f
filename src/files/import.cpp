#include "files/import.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "model/format.h"
#include "science/awards.h"
#include "science/calories.h"

namespace {

std::string LowerExtension(const std::string& path) {
    return AsciiLower(std::filesystem::path(path).extension().string());
}

std::string FileStem(const std::string& path) {
    return ToValidUtf8(std::filesystem::path(path).stem().string());
}

void ImportOne(Database& db, const Profile& profile, const std::string& path,
               std::optional<std::string> content, int64_t now, const CivilDate& today, ImportResult& result) {
    if (!content) {
        ++result.failed;
        return;
    }
    ParsedActivity parsed = ParseActivityFile(std::move(*content));
    content.reset();  // a large file's bytes are not needed any more
    if (!parsed.ok) {
        ++result.failed;
        return;
    }
    Activity a = ActivityFromParsed(parsed, path, profile.id, now);
    if (IsDuplicateActivity(db, a)) {
        ++result.duplicates;
        return;
    }
    a.weightKg = profile.weightKg;
    RecalculateCalories(db, a, today);
    a.id = NewId();
    db.activities.push_back(std::move(a));
    std::vector<Award> granted = EvaluateAwards(db, profile, db.activities.back(), now);
    result.awards.insert(result.awards.end(), granted.begin(), granted.end());
    result.activityIds.push_back(db.activities.back().id);
    ++result.imported;
}

void Finish(ImportResult& r) {
    if (r.imported > 0) {
        r.messages.push_back({FormatString("%d Aktivität(en) importiert", r.imported), 1});
        if (r.imported == 1) {
            r.celebrate = r.awards;
            r.celebrateWithCheer = true;
        } else {
            bool medalSeen = false;
            for (const Award& award : r.awards) {
                if (award.key == "medal") {
                    if (medalSeen) continue;
                    medalSeen = true;
                }
                r.celebrate.push_back(award);
            }
            r.celebrationHeadline = FormatString("%d Aktivitäten importiert!", r.imported);
        }
    }
    if (r.duplicates > 0) r.messages.push_back({FormatString("%d Duplikat(e) übersprungen", r.duplicates), 0});
    if (r.failed > 0)
        r.messages.push_back({FormatString("%d Datei(en) konnten nicht gelesen werden", r.failed), 2});
}

}  // namespace

Activity ActivityFromParsed(const ParsedActivity& parsed, const std::string& path, const std::string& profileId,
                            int64_t now) {
    Activity a;
    a.profileId = profileId;
    a.sport = ClampSport(parsed.sport);
    a.start = parsed.start >= 1 ? parsed.start : now;
    a.distanceKm = parsed.distanceKm;
    a.durationSec = parsed.durationSec;
    a.elevationGain = parsed.elevationGain;
    a.avgHr = parsed.avgHr;
    a.track = parsed.track;
    a.title = parsed.name.empty() ? FileStem(path) : parsed.name;
    a.source = LowerExtension(path) == ".tcx" ? "tcx" : "gpx";
    a.externalId = FormatString("file:%lld:%.2f", static_cast<long long>(a.start), a.distanceKm);
    if (a.durationSec <= 0.0) {
        a.durationSec = std::round(a.distanceKm * kEstimatedSecondsPerKm);
        a.notes = kEstimatedDurationNote;
    }
    return a;
}

bool IsDuplicateActivity(const Database& db, const Activity& activity) {
    for (const Activity& other : db.activities) {
        if (other.profileId != activity.profileId) continue;
        if (!other.externalId.empty() && other.externalId == activity.externalId) return true;
        if (std::fabs(static_cast<double>(other.start) - static_cast<double>(activity.start)) < 120.0 &&
            std::fabs(other.distanceKm - activity.distanceKm) < 0.2)
            return true;
    }
    return false;
}

ImportResult ImportFiles(Database& db, const Profile& profile, const std::vector<std::string>& paths,
                         const ImportReader& read, int64_t now, const CivilDate& today) {
    ImportResult result;
    // One file in memory at a time: a selection of large recordings never
    // has to fit into memory together.
    for (const std::string& path : paths) ImportOne(db, profile, path, read ? read(path) : std::nullopt, now, today, result);
    Finish(result);
    return result;
}

ImportResult ImportFiles(Database& db, const Profile& profile, std::vector<ImportFile> files, int64_t now,
                         const CivilDate& today) {
    ImportResult result;
    for (ImportFile& f : files) {
        ImportOne(db, profile, f.path, std::move(f.content), now, today, result);
        f.content.reset();
    }
    Finish(result);
    return result;
}
