// Importing GPX/TCX files and exporting the activities as CSV.
#include <algorithm>

#include "app/app.h"
#include "files/import.h"
#include "files/writers.h"
#include "model/storage.h"
#include "platform/dialogs.h"
#include "science/motivation.h"
#include "ui/celebration.h"
#include "ui/overlays.h"

void App::ImportActivityFiles() {
    if (!ActiveProfile(db)) return;
    auto paths = platform::ShowOpenDialog(
        "GPX/TCX-Dateien importieren",
        {{"GPS-Aktivitäten (*.gpx;*.tcx)", "*.gpx;*.tcx;*.GPX;*.TCX"}, {"Alle Dateien", "*"}}, true);
    if (paths.empty()) return;  // cancelled: no message, no save
    ImportPaths(paths);
}

void App::ImportPaths(const std::vector<std::string>& paths) {
    Profile* p = ActiveProfile(db);
    if (!p || paths.empty()) return;
    ImportResult r = ImportFiles(
        db, *p, paths,
        [](const std::string& path) -> std::optional<std::string> {
            std::string text;
            if (!ReadWholeFile(path, text)) return std::nullopt;
            return text;
        },
        WallNow(), Today());
    SaveNow();  // also when nothing was imported
    for (const auto& m : r.messages) PushStatus(m.text, static_cast<StatusKind>(m.kind));
    if (!r.celebrate.empty())
        QueueCelebration(r.celebrate, r.celebrateWithCheer ? std::string(RandomCheer()) : r.celebrationHeadline);
}

void App::ExportCsv() {
    const Profile* p = ActiveProfile(db);
    if (!p) return;
    // A '/' in the profile name would turn the proposed name into a folder path.
    std::string name = "Stridely-" + p->name + ".csv";
    std::replace(name.begin(), name.end(), '/', '-');
    std::string path = platform::ShowSaveDialog("Aktivitäten als CSV exportieren", name, {{"CSV (Excel)", "*.csv"}});
    if (path.empty()) return;
    ExportCsvTo(path);
}

bool App::ExportCsvTo(const std::string& path) {
    const Profile* p = ActiveProfile(db);
    if (!p) return false;
    if (WriteWholeFile(path, CsvDocument(ProfileActivities(db, *p)))) {
        PushStatus("CSV exportiert", StatusKind::Success);
        return true;
    }
    PushStatus("CSV konnte nicht gespeichert werden", StatusKind::Error);
    return false;
}
