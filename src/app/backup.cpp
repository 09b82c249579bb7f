// Backup export and restore, and opening the data folder.
#include "app/backup.h"

#include "app/app.h"
#include "model/datafile.h"
#include "model/format.h"
#include "model/storage.h"
#include "platform/dialogs.h"
#include "ui/overlays.h"

namespace {

const platform::FileTypes kBackupTypes = {{"JSON-Sicherung", "*.json"}};

}  // namespace

std::string BackupDefaultName(int64_t now) {
    const std::tm tm = LocalTime(now);
    return "Stridely-Sicherung-" + FormatDateKey(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) + ".json";
}

void App::ExportBackup() {
    const std::string path = platform::ShowSaveDialog("Sicherung speichern", BackupDefaultName(WallNow()), kBackupTypes);
    if (path.empty()) return;
    ExportBackupTo(path);
}

bool App::ExportBackupTo(const std::string& path) {
    const bool ok = WriteDatabaseFile(db, path);
    if (ok)
        PushStatus("Sicherung gespeichert", StatusKind::Success);
    else
        PushStatus("Sicherung konnte nicht gespeichert werden", StatusKind::Error);
    return ok;
}

void App::ImportBackup() {
    const std::vector<std::string> paths = platform::ShowOpenDialog("Sicherung wiederherstellen", kBackupTypes, false);
    if (paths.empty()) return;
    ImportBackupFile(paths.front());
}

void App::ImportBackupFile(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        PushStatus("Datei konnte nicht gelesen werden", StatusKind::Error);
        return;
    }
    AskConfirm("Sicherung wiederherstellen?",
               "Alle aktuellen Daten (Profile, Aktivitäten, Routen, Abzeichen) werden durch die Sicherung ersetzt.",
               "Wiederherstellen", [this, text = std::move(text)] { RestoreBackupText(text); });
}

void App::RestoreBackupText(const std::string& text) {
    Database restored;
    if (!ParseDatabase(text, restored)) {
        PushStatus("Ungültige Sicherungsdatei", StatusKind::Error);
        return;
    }
    // The data being replaced must be recoverable: without that copy the
    // restore does not happen.
    if (!SaveDatabase(db, JoinPath(dataDir, kBeforeRestoreFile))) {
        PushStatus("Wiederherstellung abgebrochen: Die aktuellen Daten konnten nicht gesichert werden",
                   StatusKind::Error);
        return;
    }
    db = std::move(restored);
    SaveNow();
    // Nothing shown may still belong to the replaced profiles.
    lastWeatherFetch = -1e9;
    weather = Weather{};
    mapSelectedRouteId.clear();
    mapInitialViewDone = false;
    toolsPrefilled = false;
    PushStatus("Sicherung wiederhergestellt", StatusKind::Success);
}

void App::OpenDataFolder() { platform::ShellOpen(dataDir); }
