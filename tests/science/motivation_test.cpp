#include "science/motivation.h"

#include <gtest/gtest.h>

#include <set>

#include "science_fixture.h"

namespace {

MotivationInput Input(const std::string& name, int daysSinceLast, int streak, double goal,
                      double week, double total, int hour = 18) {
    MotivationInput in;
    in.name = name;
    in.daysSinceLast = daysSinceLast;
    in.streakDays = streak;
    in.weekGoalKm = goal;
    in.weekKm = week;
    in.totalKm = total;
    in.hour = hour;
    return in;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const int64_t kNow = At(2025, 1, 1, 18);  // day 20089: saying index 18 + 1

}  // namespace

TEST(ComposeMotivation, FirstActivityOfAnna) {
    const MotivationTexts t = ComposeMotivation(Input("Anna Beispiel", -1, 0, 15, 0, 0), kNow, 3, 1);
    EXPECT_EQ(t.title, "Heute ist Tag eins, Anna!");
    EXPECT_EQ(t.body,
              "Dein erster Lauf wartet. Jede Reise beginnt mit einem Schritt – mach ihn heute.");
    EXPECT_EQ(t.speech,
              "Guten Abend, Anna. Heute ist ein besonderer Tag – denn heute beginnt deine "
              "Geschichte als Läufer. Dein Wochenziel sind 15,00 Kilometer – und der erste davon "
              "beginnt heute. \n\n" +
                  std::string(MotivationText(3)) + "\n\n" + MotivationText(13));
}

TEST(ComposeMotivation, TitleAndBodyRules) {
    struct Case {
        const char* what;
        MotivationInput in;
        const char* title;
        std::string body;
    };
    const Case cases[] = {
        {"empty name", Input("", -1, 0, 0, 0, 0), "Heute ist Tag eins, Champion!",
         "Dein erster Lauf wartet. Jede Reise beginnt mit einem Schritt – mach ihn heute."},
        {"streak wins over the goal", Input("Ben", 0, 2, 20, 5, 30),
         "2 Tage in Folge – nicht aufhören, Ben!",
         "Deine Serie brennt. Halte das Feuer heute am Leben!"},
        {"comeback", Input("Ben", 5, 0, 20, 0, 30), "Zeit für dein Comeback, Ben!",
         "Dein letzter Lauf ist 5 Tage her. Deine Beine vermissen dich schon."},
        {"goal open", Input("Ben", 3, 1, 20, 15, 30), "Auf geht's, Ben – Zeit zu laufen!",
         "Noch 5,00 km bis zu deinem Wochenziel. Du schaffst das!"},
        {"goal reached", Input("Ben", 1, 1, 20, 20, 30), "Zeit für deinen Lauf, Ben!",
         MotivationText(kSayingFirst + 1)},
        {"no goal", Input("Ben", 2, 0, 0, 0, 30), "Zeit für deinen Lauf, Ben!",
         MotivationText(kSayingFirst + 1)},
    };
    for (const Case& c : cases) {
        const MotivationTexts t = ComposeMotivation(c.in, kNow, 0, 0);
        EXPECT_EQ(t.title, c.title) << c.what;
        EXPECT_EQ(t.body, c.body) << c.what;
    }
}

TEST(ComposeMotivation, SpeechSentences) {
    struct Case {
        const char* what;
        MotivationInput in;
        std::string opening;  // everything before the paragraph
    };
    const Case cases[] = {
        {"active today, no streak sentence", Input("Ben", 0, 2, 0, 0, 0),
         "Guten Abend, Ben. Du warst heute schon aktiv – stark! Vielleicht ist heute trotzdem "
         "Zeit für einen lockeren Auslaufkilometer? "},
        {"d = 3 with streak 1: no activity sentence", Input("Ben", 3, 1, 0, 0, 1.0, 10),
         "Guten Morgen, Ben. "},
        {"streak sentence", Input("Ben", 1, 4, 0, 0, 0, 11),
         "Hallo, Ben. Du bist seit 4 Tagen am Stück aktiv. Das ist echte Disziplin! "},
        {"pause", Input("Ben", 4, 0, 0, 0, 0, 17),
         "Guten Abend, Ben. Dein letztes Training ist 4 Tage her. Kein Problem – jeder Champion "
         "hatte Pausen. Entscheidend ist nur, dass du heute zurückkommst. "},
        {"goal cracked", Input("Ben", 1, 1, 20, 20, 0, 16),
         "Hallo, Ben. Dein Wochenziel hast du schon geknackt – alles, was jetzt kommt, ist "
         "Bonus. "},
        {"goal part done, total", Input("Ben", 2, 1, 20, 12.5, 1234.6, 0),
         "Guten Morgen, Ben. Diese Woche hast du bereits 12,50 Kilometer geschafft. Es fehlen "
         "nur noch 7,50 bis zu deinem Ziel. Insgesamt hast du schon 1.235 Kilometer hinter dir. "
         "Wahnsinn, oder? "},
    };
    for (const Case& c : cases) {
        const MotivationTexts t = ComposeMotivation(c.in, kNow, 11, 5);
        EXPECT_EQ(t.speech, c.opening + "\n\n" + MotivationText(11) + "\n\n" + MotivationText(17))
            << c.what;
    }
}

TEST(MotivationTexts, TablesAndParagraphs) {
    const char* firstSentences[] = {
        "Weißt du, was der Unterschied zwischen dem Menschen ist, der du heute bist, und dem, der "
        "du sein willst?",
        "Dein Körper kann so viel mehr, als dein Kopf dir gerade erzählen will.",
        "Große Ziele erreicht man nicht mit einem einzigen gewaltigen Schritt, sondern mit tausend "
        "kleinen, die niemand bemerkt.",
        "Stell dir vor, du bist in drei Monaten.",
        "Motivation ist ein Funke, aber Disziplin ist das Feuer, das bleibt.",
        "Laufen ist ehrlich.",
        "Du musst nicht großartig sein, um anzufangen.",
        "Irgendwo da draußen läuft gerade jemand, der vor einem Jahr genau dort stand, wo du "
        "heute stehst.",
        "Denk an all die Tage, an denen du dachtest, du schaffst es nicht – und es dann doch "
        "geschafft hast.",
        "Laufen ist die beste Therapie, die kein Rezept braucht.",
        "Champions werden nicht im Wettkampf gemacht.",
        "Du wirst es nie bereuen, laufen gegangen zu sein.",
    };
    for (int i = 0; i < kParagraphCount; ++i) {
        const std::string p = MotivationText(kParagraphFirst + i);
        EXPECT_EQ(p.rfind(firstSentences[i], 0), 0u) << i;
        EXPECT_GE(p.size(), 200u) << i;
        EXPECT_LE(p.size(), 360u) << i;
        // Each ends with a call to go running today.
        const std::string last = p.substr(p.rfind(". ", p.size() - 2) + 2);
        EXPECT_TRUE(Contains(last, "heute")) << i << ": " << last;
    }
    EXPECT_STREQ(MotivationText(kClosingFirst), "Also: Schuhe an, Musik an, Welt aus. Los geht's!");
    EXPECT_STREQ(MotivationText(kClosingFirst + 5), "Mach dich stolz. Heute. Jetzt.");
    EXPECT_STREQ(MotivationText(kSayingFirst), "Jeder Kilometer zählt – vor allem der, den du heute läufst.");
    EXPECT_STREQ(MotivationText(kCheerFirst - 1),
                 "Der Kilometer, vor dem du Angst hast, ist der, der dich wachsen lässt.");
    EXPECT_STREQ(MotivationText(kCheerFirst), "Stark gemacht!");
    EXPECT_STREQ(MotivationText(kMotivationTextCount - 1), "Legendär!");
    EXPECT_STREQ(MotivationText(kMotivationTextCount), "");
    EXPECT_STREQ(MotivationText(-1), "");
}

TEST(SayingOfTheDay, SameAllDayAndNextDayNext) {
    // 1 January 2025 is day 20089; 20089 mod 24 = 1.
    EXPECT_STREQ(SayingOfTheDay(At(2025, 1, 1, 0, 0)), MotivationText(19));
    EXPECT_STREQ(SayingOfTheDay(At(2025, 1, 1, 23, 59)), MotivationText(19));
    EXPECT_STREQ(SayingOfTheDay(At(2025, 1, 2, 0, 0)), MotivationText(20));
    EXPECT_STREQ(SayingOfTheDay(At(2025, 1, 25, 12)), MotivationText(19));
    // The autumn change makes a 25-hour day that still has one saying.
    EXPECT_STREQ(SayingOfTheDay(At(2025, 10, 26, 0, 1)), SayingOfTheDay(At(2025, 10, 26, 23, 59)));
    // Before 1970 the index stays inside the sayings.
    const std::string old = SayingOfTheDay(At(1969, 12, 31, 12));
    EXPECT_EQ(old, MotivationText(kSayingFirst + 23));
}

TEST(RandomChoice, UniformOverAllValues) {
    std::set<std::string> cheers;
    for (int i = 0; i < 400; ++i) cheers.insert(RandomCheer());
    EXPECT_EQ(cheers.size(), 8u);
    for (const std::string& c : cheers) {
        bool found = false;
        for (int i = kCheerFirst; i < kCheerFirst + kCheerCount; ++i) found |= c == MotivationText(i);
        EXPECT_TRUE(found) << c;
    }
    int counts[12] = {};
    for (int i = 0; i < 12000; ++i) ++counts[RandomBelow(12)];
    for (int c : counts) {
        EXPECT_GT(c, 800);
        EXPECT_LT(c, 1200);
    }
    EXPECT_EQ(RandomBelow(1), 0);
    EXPECT_EQ(RandomBelow(0), 0);
    // The random composition uses one of the paragraphs and closing lines.
    const MotivationTexts t = ComposeMotivation(Input("Ben", 1, 1, 0, 0, 0));
    bool paragraph = false;
    for (int i = 0; i < kParagraphCount; ++i) paragraph |= Contains(t.speech, MotivationText(i));
    EXPECT_TRUE(paragraph);
}

TEST(Greetings, HoursAndFirstNames) {
    const std::pair<int, const char*> day[] = {{0, "Gute Nacht"},    {4, "Gute Nacht"},
                                              {5, "Guten Morgen"},  {10, "Guten Morgen"},
                                              {11, "Hallo"},        {16, "Hallo"},
                                              {17, "Guten Abend"},  {23, "Guten Abend"}};
    for (const auto& [h, text] : day) EXPECT_STREQ(DayGreeting(h), text) << h;
    EXPECT_EQ(FirstName("Anna"), "Anna");
    EXPECT_EQ(FirstName("Anna Maria Beispiel"), "Anna");
    EXPECT_EQ(FirstName(""), "");
    // The composer's own greeting has no night: 04:00 is still morning.
    EXPECT_EQ(ComposeMotivation(Input("Ben", 1, 1, 0, 0, 0, 4), kNow, 0, 0).speech.rfind(
                  "Guten Morgen, Ben. ", 0),
              0u);
    // A name that starts with a space has no first word: "Champion".
    EXPECT_EQ(ComposeMotivation(Input(" Ben", -1, 0, 0, 0, 0), kNow, 0, 0).title,
              "Heute ist Tag eins, Champion!");
}

TEST(GatherMotivationInput, FiguresOfTheProfile) {
    ProfileFixture f;
    f.profile().weeklyGoalKm = 25;
    const int64_t now = At(2025, 3, 5, 9, 30);  // Wednesday
    f.Add(SportRun, At(2025, 2, 20), 10);
    f.Add(SportRun, At(2025, 3, 3, 0, 15), 6);   // Monday: this week
    f.Add(SportWalk, At(2025, 3, 4, 19), 4);     // yesterday
    const MotivationInput in = GatherMotivationInput(f.db, &f.profile(), now);
    EXPECT_EQ(in.name, "Anna Beispiel");
    EXPECT_EQ(in.weekGoalKm, 25.0);
    EXPECT_DOUBLE_EQ(in.weekKm, 10.0);
    EXPECT_DOUBLE_EQ(in.totalKm, 20.0);
    EXPECT_EQ(in.activityCount, 3);
    EXPECT_EQ(in.streakDays, 2);
    EXPECT_EQ(in.daysSinceLast, 1);
    EXPECT_EQ(in.hour, 9);

    // A future-dated entry counts for the week but is not the last activity done.
    f.Add(SportRun, At(2025, 3, 9, 8), 5);
    const MotivationInput later = GatherMotivationInput(f.db, &f.profile(), now);
    EXPECT_EQ(later.daysSinceLast, 1);
    EXPECT_DOUBLE_EQ(later.weekKm, 15.0);

    const MotivationInput none = GatherMotivationInput(f.db, nullptr, now);
    EXPECT_EQ(none.name, "");
    EXPECT_EQ(none.daysSinceLast, -1);
    EXPECT_EQ(none.hour, 18);
    EXPECT_EQ(none.totalKm, 0.0);

    ProfileFixture fresh;
    EXPECT_EQ(GatherMotivationInput(fresh.db, &fresh.profile(), now).daysSinceLast, -1);
}
