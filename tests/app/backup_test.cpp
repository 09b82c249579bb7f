// Backup export and restore through the App, without the file dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/backup.h"
#include "app/harness.h"
#include "model/datafile.h"
#include "model/format.h"
#include "model/storage.h"
#include "ui/overlays.h"

namespace fs = std::filesystem;

namespace {

const bool kBerlin = [] {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    return true;
}();

Database Installation(const char* name, int activities) {
    Database db;
    Profile p;
    p.id = NewId();
    p.name = name;
    db.profiles.push_back(p);
    db.settings.activeProfile = p.id;
    for (int i = 0; i < activities; ++i) {
        Activity a;
        a.id = NewId();
        a.profileId = p.id;
        a.start = 1741000000 + i * 86400;
        a.distanceKm = 5 + i;
        a.durationSec = 1800;
        db.activities.push_back(a);
    }
    return db;
}

std::string LastStatus() { return StatusMessages().empty() ? "" : StatusMessages().back().text; }

Database ReadBack(const std::string& path) {
    Database db;
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text)) << path;
    EXPECT_TRUE(ParseDatabase(text, db)) << path;
    return db;
}

// Presses the confirm button of the open "##confirm" dialog (right half of the
// button row at its bottom).
void PressConfirm(Harness& h) {
    ASSERT_TRUE(h.Frame());  // opens the dialog
    ASSERT_TRUE(h.Frame());  // lays it out at its final size
    ImGuiWindow* w = ImGui::FindWindowByName("##confirm");
    ASSERT_NE(w, nullptr);
    ImGuiIO& io = ImGui::GetIO();
    io.MousePos = ImVec2(w->Pos.x + w->Size.x - 24 - 60, w->Pos.y + w->Size.y - 22 - 12);
    io.MouseDown[0] = true;
    ASSERT_TRUE(h.Frame());
    io.MouseDown[0] = false;
    ASSERT_TRUE(h.Frame());
}

class Backup : public ::testing::Test {
protected:
    void SetUp() override {
        h.Init();
        h.app.db = Installation("Anna Beispiel", 3);
        h.app.SaveNow();
    }
    Harness h;
};

}  // namespace

TEST(BackupName, LocalDateOfToday) {
    EXPECT_EQ(BackupDefaultName(MakeLocalTime(2025, 3, 5, 0, 30, 0)), "Stridely-Sicherung-2025-03-05.json");
    EXPECT_EQ(BackupDefaultName(MakeLocalTime(2025, 12, 31, 23, 59, 0)), "Stridely-Sicherung-2025-12-31.json");
}

TEST_F(Backup, ExportWritesTheWholeDatabase) {
    const std::string path = h.Dir() + "/export.json";
    EXPECT_TRUE(h.app.ExportBackupTo(path));
    EXPECT_EQ(LastStatus(), "Sicherung gespeichert");
    EXPECT_EQ(ReadBack(path), h.app.db);

    EXPECT_FALSE(h.app.ExportBackupTo(h.Dir() + "/kein/ordner/export.json"));
    EXPECT_EQ(LastStatus(), "Sicherung konnte nicht gespeichert werden");
    EXPECT_EQ(StatusMessages().back().kind, StatusKind::Error);
}

TEST_F(Backup, RestoreOfAnotherInstallationKeepsThePreviousDataAside) {
    const Database before = h.app.db;
    const Database other = Installation("Ben Berger", 5);
    const std::string path = h.Dir() + "/other.json";
    ASSERT_TRUE(WriteWholeFile(path, SerializeDatabase(other)));
    h.app.lastWeatherFetch = 123;
    h.app.weather.ok = true;

    h.app.ImportBackupFile(path);
    EXPECT_TRUE(ConfirmPending());
    EXPECT_EQ(h.app.db, before);  // nothing happens before the user agrees
    PressConfirm(h);
    EXPECT_FALSE(ConfirmPending());

    EXPECT_EQ(h.app.db, other);
    EXPECT_EQ(ReadBack(h.Dir() + "/data.json"), other);
    EXPECT_EQ(ReadBack(h.Dir() + "/" + kBeforeRestoreFile), before);
    EXPECT_EQ(LastStatus(), "Sicherung wiederhergestellt");
    // The weather of the replaced home is gone and fetched anew.
    EXPECT_FALSE(h.app.weather.ok);
    EXPECT_EQ(h.app.lastWeatherFetch, -1e9);
}

TEST_F(Backup, InvalidOrUnreadableFilesChangeNothing) {
    const Database before = h.app.db;
    struct Case {
        const char* text;
        const char* status;
    } cases[] = {
        {"{\"settings\": {}, \"activities\": []}", "Ungültige Sicherungsdatei"},  // valid JSON without "profiles"
        {"{\"profiles\": [", "Ungültige Sicherungsdatei"},
        {"", "Ungültige Sicherungsdatei"},
    };
    for (const Case& c : cases) {
        h.app.RestoreBackupText(c.text);
        EXPECT_EQ(LastStatus(), c.status) << c.text;
        EXPECT_EQ(h.app.db, before) << c.text;
    }
    EXPECT_FALSE(fs::exists(h.Dir() + "/" + kBeforeRestoreFile));

    h.app.ImportBackupFile(h.Dir() + "/gibt-es-nicht.json");
    EXPECT_EQ(LastStatus(), "Datei konnte nicht gelesen werden");
    EXPECT_FALSE(ConfirmPending());
    fs::create_directory(h.Dir() + "/ordner.json");
    h.app.ImportBackupFile(h.Dir() + "/ordner.json");
    EXPECT_EQ(LastStatus(), "Datei konnte nicht gelesen werden");
    EXPECT_FALSE(ConfirmPending());
}

TEST_F(Backup, NoRestoreWhenThePreviousDataCannotBeKept) {
    // Something in the way of "data.vor-wiederherstellung.json": replacing the
    // data then would lose it for good.
    fs::create_directories(h.Dir() + "/" + kBeforeRestoreFile + "/belegt");
    const Database before = h.app.db;
    h.app.RestoreBackupText(SerializeDatabase(Installation("Ben Berger", 1)));
    EXPECT_EQ(h.app.db, before);
    EXPECT_EQ(ReadBack(h.Dir() + "/data.json"), before);
    EXPECT_EQ(StatusMessages().back().kind, StatusKind::Error);
    EXPECT_NE(LastStatus().find("nicht gesichert"), std::string::npos);
}
