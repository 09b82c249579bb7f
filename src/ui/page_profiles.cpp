// Profiles page: the profile list, the profile editor, body values, the weight
// log and the shoes; plus the profile form shared with the onboarding dialog.
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "app/app.h"
#include "imgui_internal.h"
#include "model/datafile.h"
#include "model/format.h"
#include "model/icons.h"
#include "science/calculators.h"
#include "ui/activity_editor.h"
#include "ui/charts.h"
#include "ui/controls.h"
#include "ui/draw_util.h"
#include "ui/fields.h"
#include "ui/overlays.h"
#include "ui/profiles.h"
#include "ui/theme.h"

// ---- Rules ----

Profile NewProfileDraft(int colour) {
    Profile p;
    p.color = colour;
    return p;
}

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void ClampBirthDate(Profile& p) {
    p.birthMonth = std::clamp(p.birthMonth, 1, 12);
    p.birthDay = std::clamp(p.birthDay, 1, DaysInMonth(p.birthYear, p.birthMonth));
}

std::string ProfileFileForm(const Profile& p) {
    Database one;
    one.profiles.push_back(p);
    return SerializeDatabase(one);
}

bool ProfileDraftSavable(const Profile& draft, const Profile& stored) {
    return !TrimSpaces(draft.name).empty() && ProfileFileForm(draft) != ProfileFileForm(stored);
}

void ApplyProfileDraft(Profile& draft, Profile& stored, int64_t now) {
    if (std::fabs(draft.weightKg - stored.weightKg) > 0.01) draft.weightLog.push_back(WeightEntry{now, draft.weightKg});
    draft.name = TrimSpaces(draft.name);
    stored = draft;
}

double AddWeightEntry(Profile& p, double kg, int64_t now) {
    const double v = std::clamp(std::isfinite(kg) ? kg : p.weightKg, 25.0, 300.0);
    p.weightLog.push_back(WeightEntry{now, v});
    p.weightKg = v;
    return v;
}

double ShoeRatio(double usedKm, double limitKm) { return usedKm / std::max(limitKm, 1.0); }

ShoeWear ShoeWearOf(double ratio) {
    if (ratio >= 1.0) return ShoeWear::Replace;
    if (ratio >= 0.8) return ShoeWear::Soon;
    return ShoeWear::Fine;
}

// ---- The shared form ----

namespace {

std::string WithIcon(const char* icon, const char* text) { return std::string(icon) + "  " + text; }

}  // namespace

bool ProfileForm(Profile& draft, bool showGoals) {
    const float s = UiScale();
    bool locate = false;
    ImGui::PushID("profileform");
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 6 * s));
    const float gap = 14 * s;
    const float half = (ImGui::GetContentRegionAvail().x - gap) * 0.5f;

    Caption("NAME");
    ImGui::SetNextItemWidth(-FLT_MIN);
    ImGui::InputTextWithHint("##name", "Vor- und Nachname", &draft.name);

    Caption("GESCHLECHT (FÜR DIE KALORIENFORMEL)");
    int gender = draft.gender == "w" ? 1 : draft.gender == "d" ? 2 : 0;
    if (Segmented("gender", &gender, {"Männlich", "Weiblich", "Divers"}, ImGui::GetContentRegionAvail().x))
        draft.gender = gender == 1 ? "w" : gender == 2 ? "d" : "m";

    Caption("GEBURTSDATUM");
    {
        const float w = std::max(1.0f, (half - 12 * s) / 3);
        ImGui::SetNextItemWidth(w);
        ImGui::DragInt("##bd", &draft.birthDay, 0.1f, 1, 31, "%02d.", ImGuiSliderFlags_AlwaysClamp);
        ImGui::SameLine(0, 6 * s);
        ImGui::SetNextItemWidth(w);
        ImGui::DragInt("##bm", &draft.birthMonth, 0.05f, 1, 12, "%02d.", ImGuiSliderFlags_AlwaysClamp);
        ImGui::SameLine(0, 6 * s);
        ImGui::SetNextItemWidth(w);
        ImGui::DragInt("##by", &draft.birthYear, 0.1f, 1920, Today().year, "%d", ImGuiSliderFlags_AlwaysClamp);
        draft.birthYear = std::clamp(draft.birthYear, 1920, std::max(1920, Today().year));
        ClampBirthDate(draft);
    }

    BeginFieldPair("##pulse", gap);
    Caption("RUHEPULS");
    IntField("rhr", &draft.restingHr, 30, 120, "bpm");
    FieldPairNext();
    Caption("GRÖSSE");
    NumberField("height", &draft.heightCm, 1, 80, 250, "%.0f", "cm");
    EndFieldPair();

    BeginFieldPair("##mass", gap);
    Caption("GEWICHT");
    NumberField("weight", &draft.weightKg, 0.5, 25, 300, "%.1f", "kg");
    FieldPairNext();
    if (showGoals) {
        Caption("WOCHENZIEL");
        NumberField("weekgoal", &draft.weeklyGoalKm, 1, 0, 500, "%.0f", "km");
    }
    EndFieldPair();
    if (showGoals) {
        BeginFieldPair("##goals", gap);
        Caption("JAHRESZIEL");
        NumberField("yeargoal", &draft.yearlyGoalKm, 10, 0, 20000, "%.0f", "km");
        FieldPairNext();
        EndFieldPair();
    }

    Caption("ADRESSE");
    ImGui::SetNextItemWidth(-FLT_MIN);
    ImGui::InputTextWithHint("##street", "Straße und Hausnummer", &draft.street);
    {
        const float avail = ImGui::GetContentRegionAvail().x;
        ImGui::SetNextItemWidth(110 * s);
        ImGui::InputTextWithHint("##zip", "PLZ", &draft.zip);
        ImGui::SameLine(0, 8 * s);
        ImGui::SetNextItemWidth(std::max(40 * s, avail - 110 * s - 150 * s - 16 * s));
        ImGui::InputTextWithHint("##city", "Ort", &draft.city);
        ImGui::SameLine(0, 8 * s);
        ImGui::SetNextItemWidth(150 * s);
        ImGui::InputTextWithHint("##country", "Land", &draft.country);
    }
    VSpace(2);
    const float buttonY = ImGui::GetCursorPosY();
    locate = SecondaryButton(WithIcon(Icon::Location, "Adresse auf der Karte finden").c_str());
    const float buttonH = ImGui::GetItemRectSize().y;
    const std::string where = draft.hasHome ? FormatString("%s  Standort gespeichert (%.4f, %.4f)", Icon::Check,
                                                           draft.home.lat, draft.home.lon)
                                            : std::string("Für Karte und Laufwetter");
    // Beside the button when it fits, else under it.
    if (ImGui::GetContentRegionAvail().x - ImGui::GetItemRectSize().x - 12 * s >= ImGui::CalcTextSize(where.c_str()).x) {
        ImGui::SameLine(0, 12 * s);
        ImGui::SetCursorPosY(buttonY + (buttonH - ImGui::GetTextLineHeight()) * 0.5f);
    }
    ColorText(draft.hasHome ? Theme::Good : Theme::TextMuted, "%s", where.c_str());

    Caption("PROFILFARBE");
    {
        ImDrawList* dl = ImGui::GetWindowDrawList();
        for (int i = 0; i < ProfileColorCount; ++i) {
            if (i > 0) ImGui::SameLine(0, 8 * s);
            ImGui::PushID(i);
            const ImVec2 p = ImGui::GetCursorScreenPos();
            if (ImGui::InvisibleButton("##c", ImVec2(30 * s, 30 * s))) draft.color = i;
            if (ImGui::IsItemHovered()) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
            const ImVec2 c(p.x + 15 * s, p.y + 15 * s);
            dl->AddCircleFilled(c, 12 * s, ProfileColor(i), 32);
            if (((draft.color % ProfileColorCount) + ProfileColorCount) % ProfileColorCount == i)
                dl->AddCircle(c, 15 * s, IM_COL32_WHITE, 32, 2 * s);
            ImGui::PopID();
        }
    }
    ImGui::PopStyleVar();
    ImGui::PopID();
    return locate;
}

// ---- The page ----

namespace {

// A label on the left and a value on the right of the card's row.
void ValueRow(const char* label, const std::string& value, ImU32 colour = Theme::Text) {
    MutedText("%s", label);
    ImGui::SameLine();
    const float w = ImGui::CalcTextSize(value.c_str()).x;
    ImGui::SetCursorPosX(std::max(ImGui::GetCursorPosX(), ImGui::GetWindowContentRegionMax().x - w));
    ColorText(colour, "%s", value.c_str());
}

void BmiGauge(double bmi) {
    const float s = UiScale();
    const ImVec2 p = ImGui::GetCursorScreenPos();
    const float w = ImGui::GetContentRegionAvail().x;
    const float h = 8 * s;
    const float rowH = 14 * s;  // room for the dot
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const float y0 = p.y + (rowH - h) * 0.5f;
    const float parts[4] = {3.5f, 6.5f, 5.0f, 5.0f};
    const uint32_t colours[4] = {0x3A86FF, 0x2EC4B6, 0xFFB703, 0xEF476F};
    float x = p.x;
    for (int i = 0; i < 4; ++i) {
        const float segW = w * parts[i] / 20.0f;
        const ImDrawFlags corners = i == 0 ? ImDrawFlags_RoundCornersLeft
                                    : i == 3 ? ImDrawFlags_RoundCornersRight
                                             : ImDrawFlags_RoundCornersNone;
        dl->AddRectFilled(ImVec2(x, y0), ImVec2(x + segW, y0 + h), Hex(colours[i]), h * 0.5f, corners);
        x += segW;
    }
    const float f = std::clamp(static_cast<float>((bmi - 15.0) / 20.0), 0.0f, 1.0f);
    dl->AddCircleFilled(ImVec2(p.x + f * w, p.y + rowH * 0.5f), 7 * s, IM_COL32_WHITE, 24);
    ImGui::Dummy(ImVec2(w, rowH));
    VSpace(6);
}

}  // namespace

void App::RemoveProfile(const std::string& profileId) {
    const std::string id = profileId;  // the argument may live in the profile being removed
    const bool wasActive = db.settings.activeProfile == id;
    DeleteProfile(db, id);
    profilesPage.editedId.clear();
    if (wasActive) {
        // The next profile takes over: its own weather, map view and routes.
        lastWeatherFetch = -1e9;
        mapInitialViewDone = false;
        mapSelectedRouteId.clear();
        toolsPrefilled = false;
    }
    SaveNow();
    if (db.profiles.empty()) {
        onboardingDraft = NewProfileDraft(0);
        onboardingRequested = true;
    }
    PushStatus("Profil gelöscht", StatusKind::Info);
}

void App::PageProfiles() {
    const float s = UiScale();
    ProfilesPageState& st = profilesPage;
    // The edited profile: the active one unless another was picked.
    if (st.editedId.empty() || !FindProfile(db, st.editedId)) {
        const Profile* active = ActiveProfile(db);
        st.editedId = active ? active->id : std::string();
        if (active) st.draft = *active;
    }
    if (Profile* edited = FindProfile(db, st.editedId); edited && st.draft.id != st.editedId) st.draft = *edited;

    PageTitle("Profile", "Mehrere Personen – jede mit eigenen Aktivitäten, Routen und Trophäen.");

    const float gap = 16 * s;
    const float listW = 300 * s;
    const float avail = ImGui::GetContentRegionAvail().x;
    const float editorW = IM_ROUND(0.56f * (avail - listW - 2 * gap));
    const std::string activeId = ActiveProfile(db) ? db.settings.activeProfile : std::string();

    // Column 1: the profiles.
    ImGui::BeginGroup();
    const Profile* switchTo = nullptr;
    std::string deleteId, deleteName;
    for (const Profile& p : db.profiles) {
        ImGui::PushID(p.id.c_str());
        BeginCard("##pc", ImVec2(listW, 0), true, true);
        ImDrawList* dl = ImGui::GetWindowDrawList();
        const ImVec2 o = ImGui::GetCursorScreenPos();
        const float right = ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x;
        Avatar(dl, ImVec2(o.x + 24 * s, o.y + 24 * s), 24 * s, ProfileInitials(p).c_str(), p.color);
        ImFont* semibold = FontOr(FontSemibold);
        ImFont* small = FontOr(FontSmall);
        const std::string name = p.name.empty() ? "Ohne Namen" : p.name;
        dl->PushClipRect(ImVec2(o.x + 60 * s, o.y), ImVec2(right, o.y + 60 * s), true);
        dl->AddText(semibold, semibold->FontSize, ImVec2(o.x + 60 * s, o.y + 2 * s), Theme::Text, name.c_str());
        int count = 0;
        double km = 0;
        for (const Activity& a : db.activities)
            if (a.profileId == p.id) {
                ++count;
                km += a.distanceKm;
            }
        const std::string figures = FormatString("%d Aktivitäten · %s km", count, FormatNumber(km, 0).c_str());
        dl->AddText(small, small->FontSize, ImVec2(o.x + 60 * s, o.y + 4 * s + semibold->FontSize),
                    Theme::TextMuted, figures.c_str());
        dl->PopClipRect();

        ImGui::SetCursorScreenPos(ImVec2(o.x, o.y + 56 * s));
        const float rowY = ImGui::GetCursorPosY();
        if (p.id == activeId) {
            ImGui::SetCursorPosY(rowY + (30 * s - ImGui::GetTextLineHeight()) * 0.5f);
            ColorText(Theme::Good, "%s Aktives Profil", Icon::Check);
        } else {
            ImGui::SetCursorPosY(rowY + 1 * s);
            if (Chip("Wechseln", false)) switchTo = &p;
        }
        ImGui::SameLine();
        ImGui::SetCursorScreenPos(ImVec2(right - 66 * s, o.y + 56 * s));
        if (IconButton("edit", Icon::Edit, "Bearbeiten", p.id == st.editedId, 30 * s)) {
            st.editedId = p.id;
            st.draft = p;
        }
        ImGui::SameLine(0, 6 * s);
        if (IconButton("del", Icon::Delete, "Löschen", false, 30 * s)) {
            deleteId = p.id;
            deleteName = p.name;
        }
        EndCard();
        if (p.id == st.editedId)
            ImGui::GetWindowDrawList()->AddRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(), Theme::Accent,
                                                14 * s, 0, 2 * s);
        ImGui::PopID();
    }
    if (PrimaryButton(WithIcon(Icon::Add, "Neues Profil").c_str(), ImVec2(listW, 44 * s))) {
        onboardingDraft = NewProfileDraft(static_cast<int>(db.profiles.size()));
        onboardingRequested = true;
    }
    ImGui::EndGroup();
    if (switchTo) SwitchProfile(*switchTo);
    if (!deleteId.empty()) {
        AskConfirm("Profil „" + deleteName + "“ löschen?",
                   "Alle Aktivitäten, Routen und Trophäen dieses Profils werden dauerhaft entfernt.", "Endgültig löschen",
                   [this, deleteId] { RemoveProfile(deleteId); });
    }

    Profile* stored = FindProfile(db, st.editedId);
    if (!stored) return;  // no profile at all: onboarding takes over

    // Column 2: the editor.
    ImGui::SameLine(0, gap);
    BeginCard("##editor", ImVec2(editorW, 0), true, false);
    SectionHeader(Icon::Edit, "Profil bearbeiten", st.draft.name.c_str());
    VSpace(4);
    if (ProfileForm(st.draft, true)) GeocodeProfile(st.draft);
    VSpace(8);
    const bool savable = ProfileDraftSavable(st.draft, *stored);
    ImGui::BeginDisabled(!savable);
    if (PrimaryButton(WithIcon(Icon::Save, "Speichern").c_str(), ImVec2(160 * s, 42 * s)) && savable) {
        ApplyProfileDraft(st.draft, *stored, WallNow());
        lastWeatherFetch = -1e9;
        mapInitialViewDone = false;
        SaveNow();
        PushStatus("Profil gespeichert", StatusKind::Success);
    }
    ImGui::SameLine(0, 10 * s);
    if (SecondaryButton("Verwerfen", ImVec2(120 * s, 42 * s)) && savable) st.draft = *stored;
    ImGui::EndDisabled();
    EndCard();

    // Column 3: body values, weight log, shoes.
    ImGui::SameLine(0, gap);
    ImGui::BeginGroup();
    const float rightW = ImGui::GetContentRegionAvail().x;
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(10 * s, 2 * s));

    BeginCard("##body", ImVec2(rightW, 0), true, false);
    {
        SectionHeader(Icon::Health, "Körperwerte", "Automatisch berechnet");
        VSpace(2);
        const std::tm today = LocalTime(WallNow());
        const int age = ProfileAgeOn(*stored, today.tm_year + 1900, today.tm_mon + 1, today.tm_mday);
        const double bmi = BodyMassIndex(stored->heightCm, stored->weightKg);
        ValueRow("BMI", FormatNumber(bmi, 1) + " · " + BmiClass(bmi),
                 bmi >= 18.5 && bmi < 25 ? Theme::Good : Theme::Warn);
        BmiGauge(bmi);
        const auto [lo, hi] = IdealWeightRange(stored->heightCm);
        ValueRow("Idealgewicht (BMI 20–25)", FormatNumber(lo, 0) + "–" + FormatNumber(hi, 0) + " kg");
        const double bmr = BasalMetabolicRate(*stored, age);
        ValueRow("Grundumsatz", FormatNumber(bmr, 0) + " kcal/Tag");
        ValueRow("Bedarf (leicht aktiv)", FormatNumber(DailyEnergyNeed(bmr), 0) + " kcal/Tag");
        ValueRow("Max. Herzfrequenz", FormatString("%.0f bpm", MaxHeartRate(age)), Theme::Bad);
        ValueRow("Alter", FormatString("%d Jahre", age));
    }
    EndCard();
    VSpace(2);

    BeginCard("##weight", ImVec2(rightW, 0), true, false);
    {
        const std::string count = FormatString("%d Einträge", static_cast<int>(stored->weightLog.size()));
        SectionHeader(Icon::AreaChart, "Gewichtsverlauf", count.c_str());
        VSpace(4);
        std::vector<WeightEntry> log = stored->weightLog;
        std::stable_sort(log.begin(), log.end(), [](const WeightEntry& a, const WeightEntry& b) { return a.date < b.date; });
        std::vector<ChartPoint> points;
        points.reserve(log.size());
        for (const WeightEntry& w : log) {
            const std::tm lt = LocalTime(w.date);
            points.push_back({static_cast<float>(w.kg), FormatString("%d.%d.", lt.tm_mday, lt.tm_mon + 1),
                              FormatDate(w.date) + ": " + FormatNumber(w.kg, 1) + " kg"});
        }
        LineChart("wchart", points, ImVec2(ImGui::GetContentRegionAvail().x, 130 * s), Theme::Info, true, NAN, NAN,
                  false);
        VSpace(6);
        if (st.newWeight <= 0) st.newWeight = stored->weightKg;
        // The value field and the button share a line when the card is wide enough.
        const std::string label = WithIcon(Icon::Add, "Gewicht eintragen");
        const float buttonW = ImGui::CalcTextSize(label.c_str()).x + 32 * s;
        const float cardW = ImGui::GetContentRegionAvail().x;
        const bool oneLine = cardW - buttonW - 10 * s >= 150 * s;
        BeginFieldColumn(oneLine ? cardW - buttonW - 10 * s : cardW);
        NumberField("nw", &st.newWeight, 0.1, 25, 300, "%.1f", "kg");
        EndFieldColumn();
        if (oneLine) ImGui::SameLine(0, 10 * s);
        if (SecondaryButton(label.c_str(), ImVec2(oneLine ? buttonW : cardW, 0))) {
            st.newWeight = AddWeightEntry(*stored, st.newWeight, WallNow());
            st.draft.weightKg = stored->weightKg;
            st.draft.weightLog = stored->weightLog;
            SaveNow();
            PushStatus("Gewicht gespeichert", StatusKind::Success);
        }
    }
    EndCard();
    VSpace(2);

    BeginCard("##shoes", ImVec2(rightW, 0), true, false);
    {
        SectionHeader(Icon::Run, "Laufschuhe", "Kilometerzähler & Austausch-Hinweis");
        VSpace(4);
        std::string removeId;
        bool changed = false;
        for (Shoe& shoe : stored->shoes) {
            ImGui::PushID(shoe.id.c_str());
            const double used = ShoeDistance(db, shoe.id);
            const double ratio = ShoeRatio(used, shoe.limitKm);
            const float rowY = ImGui::GetCursorPosY();
            ImGui::SetCursorPosY(rowY + (28 * s - ImGui::GetTextLineHeight()) * 0.5f);
            ImGui::TextUnformatted(shoe.name.c_str());
            ImGui::SameLine(0, 8 * s);
            if (shoe.retired) {
                MutedText("(ausgemustert)");
            } else if (ShoeWearOf(ratio) == ShoeWear::Replace) {
                ColorText(Theme::Bad, "%s austauschen!", Icon::Warning);
            } else if (ShoeWearOf(ratio) == ShoeWear::Soon) {
                ColorText(Theme::Warn, "bald austauschen");
            }
            ImGui::SameLine();
            ImGui::SetCursorPos(ImVec2(ImGui::GetWindowContentRegionMax().x - 60 * s, rowY));
            if (IconButton("ret", shoe.retired ? Icon::Undo : Icon::Library, shoe.retired ? "Reaktivieren" : "Ausmustern",
                           shoe.retired, 28 * s)) {
                shoe.retired = !shoe.retired;
                changed = true;
            }
            ImGui::SameLine(0, 4 * s);
            if (IconButton("rm", Icon::Delete, "Entfernen", false, 28 * s)) removeId = shoe.id;
            VSpace(4);
            ProgressBar(static_cast<float>(ratio), 6 * s, ratio >= 1 ? Theme::Bad : Theme::Good,
                        ratio >= 0.8 ? Theme::Warn : Theme::Good);
            VSpace(2);
            ImGui::PushFont(FontOr(FontSmall));
            MutedText("%s / %s km", FormatNumber(used, 0).c_str(), FormatNumber(shoe.limitKm, 0).c_str());
            ImGui::PopFont();
            VSpace(8);
            ImGui::PopID();
        }
        if (!removeId.empty()) {
            std::erase_if(stored->shoes, [&](const Shoe& x) { return x.id == removeId; });
            for (Activity& a : db.activities)
                if (a.shoeId == removeId) a.shoeId.clear();
            changed = true;
        }
        const std::string label = WithIcon(Icon::Add, "Hinzufügen");
        const float buttonW = ImGui::CalcTextSize(label.c_str()).x + 32 * s;
        ImGui::SetNextItemWidth(std::max(60 * s, ImGui::GetContentRegionAvail().x - buttonW - 10 * s));
        ImGui::InputTextWithHint("##newshoe", "z. B. Nike Pegasus 41", &st.newShoe);
        ImGui::SameLine(0, 10 * s);
        const std::string trimmed = TrimSpaces(st.newShoe);
        ImGui::BeginDisabled(trimmed.empty());
        if (SecondaryButton(label.c_str(), ImVec2(buttonW, 0)) && !trimmed.empty()) {
            stored->shoes.push_back(Shoe{NewId(), trimmed, 700.0, false});
            st.newShoe.clear();
            changed = true;
        }
        ImGui::EndDisabled();
        if (changed) {
            // The draft follows, so the editor does not offer to undo the change.
            st.draft.shoes = stored->shoes;
            SaveNow();
        }
    }
    EndCard();
    ImGui::PopStyleVar();
    ImGui::EndGroup();
}
