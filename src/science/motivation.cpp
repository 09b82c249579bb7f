#include "science/motivation.h"

#include <ctime>
#include <mutex>
#include <random>

#include "model/format.h"
#include "science/calendar.h"
#include "science/stats.h"

namespace {

const char* const kTexts[kMotivationTextCount] = {
    // Long paragraphs.
    /* 0 */ "Weißt du, was der Unterschied zwischen dem Menschen ist, der du heute bist, und dem, der du sein willst? Es sind die Entscheidungen, die du triffst, wenn niemand zuschaut. Heute ist wieder so ein Moment. Entscheide dich für dich und geh heute laufen.",
    /* 1 */ "Dein Körper kann so viel mehr, als dein Kopf dir gerade erzählen will. Die Müdigkeit, die Ausreden, das Sofa – all das ist lauter als deine Beine, aber nicht stärker. Nach den ersten Minuten wird es leichter, versprochen. Zieh die Schuhe an und lauf heute los.",
    /* 2 */ "Große Ziele erreicht man nicht mit einem einzigen gewaltigen Schritt, sondern mit tausend kleinen, die niemand bemerkt. Jeder Lauf, auch der kurze und langsame, ist einer davon. Setz heute den nächsten kleinen Schritt und geh eine Runde laufen.",
    /* 3 */ "Stell dir vor, du bist in drei Monaten. Du bist fitter, du schläfst besser, und die Treppe nimmst du, ohne nachzudenken. Dieses Ich wird dir für jeden Lauf dankbar sein, den du jetzt beginnst. Fang heute damit an und geh laufen.",
    /* 4 */ "Motivation ist ein Funke, aber Disziplin ist das Feuer, das bleibt. An manchen Tagen ist die Lust einfach nicht da, und das ist völlig normal. Gerade dann zählt, dass du trotzdem gehst. Lauf heute aus Gewohnheit statt aus Laune – das Feuer dankt es dir.",
    /* 5 */ "Laufen ist ehrlich. Es gibt dir genau das zurück, was du hineinsteckst, nicht mehr und nicht weniger. Keine Abkürzung, kein Trick, nur du, dein Atem und der Weg vor dir. Jeder Schritt gehört dir allein. Steck heute etwas hinein und geh laufen.",
    /* 6 */ "Du musst nicht großartig sein, um anzufangen. Aber du musst anfangen, um großartig zu werden. Niemand erwartet heute eine Bestzeit von dir, nur dass du die Tür hinter dir zuziehst und losgehst. Also lauf heute, ganz egal wie langsam.",
    /* 7 */ "Irgendwo da draußen läuft gerade jemand, der vor einem Jahr genau dort stand, wo du heute stehst. Er hatte dieselben Zweifel und dieselben Ausreden. Der einzige Unterschied ist, dass er irgendwann losgelaufen ist. Lass heute deinen Tag sein und lauf los.",
    /* 8 */ "Denk an all die Tage, an denen du dachtest, du schaffst es nicht – und es dann doch geschafft hast. Du hast schon so oft bewiesen, dass du mehr kannst, als du glaubst. Mach heute wieder so einen Tag daraus und geh laufen.",
    /* 9 */ "Laufen ist die beste Therapie, die kein Rezept braucht. Es räumt den Kopf auf, lässt den Ärger verdampfen und macht Platz für neue Ideen. Schon zwanzig Minuten an der frischen Luft verändern deinen ganzen Tag. Gönn dir diese Therapie heute und lauf los.",
    /* 10 */ "Champions werden nicht im Wettkampf gemacht. Sie entstehen an gewöhnlichen Tagen wie heute, wenn keiner applaudiert und das Wetter nicht perfekt ist. Genau diese Einheiten machen am Ende den Unterschied. Sei heute ein Champion und geh laufen.",
    /* 11 */ "Du wirst es nie bereuen, laufen gegangen zu sein. Bereuen wirst du höchstens den Lauf, den du ausgelassen hast. Nach jeder Runde fühlst du dich besser als vorher, ausnahmslos. Also schenk dir heute dieses gute Gefühl und lauf.",
    // Closing lines.
    /* 12 */ "Also: Schuhe an, Musik an, Welt aus. Los geht's!",
    /* 13 */ "Ich glaube an dich. Und jetzt: raus mit dir!",
    /* 14 */ "Der beste Lauf ist der, den du heute machst. Auf geht's!",
    /* 15 */ "Dein Abzeichen wartet schon auf dich. Hol es dir!",
    /* 16 */ "Eins, zwei, drei – und los!",
    /* 17 */ "Mach dich stolz. Heute. Jetzt.",
    // Sayings of the day.
    /* 18 */ "Jeder Kilometer zählt – vor allem der, den du heute läufst.",
    /* 19 */ "Langsam laufen ist immer noch schneller als auf dem Sofa sitzen.",
    /* 20 */ "Der schwerste Schritt ist der über die Türschwelle.",
    /* 21 */ "Du läufst nicht vor etwas weg – du läufst auf dich selbst zu.",
    /* 22 */ "Schweiß ist nur Schwäche, die deinen Körper verlässt.",
    /* 23 */ "Keine Ausreden. Nur Ergebnisse.",
    /* 24 */ "Kleine Schritte, große Wirkung.",
    /* 25 */ "Dein Tempo ist das richtige Tempo.",
    /* 26 */ "Bewegung ist das beste Update für Körper und Kopf.",
    /* 27 */ "Heute ein bisschen besser als gestern.",
    /* 28 */ "Aufgeben ist keine Option – Pause machen schon.",
    /* 29 */ "Du bist stärker als deine Ausreden.",
    /* 30 */ "Die Strecke gehört dir. Nimm sie dir.",
    /* 31 */ "Konsistenz schlägt Intensität.",
    /* 32 */ "Ein Lauf am Tag hält den Stress auf Abstand.",
    /* 33 */ "Der Weg ist das Ziel – und das Ziel ist die Dusche danach.",
    /* 34 */ "Wer läuft, gewinnt immer: an Energie, an Laune, an Zeit für sich.",
    /* 35 */ "Nicht zählen, wie oft du stehenbleibst – zählen, wie oft du weiterläufst.",
    /* 36 */ "Dein Körper hört alles, was dein Kopf sagt. Sag ihm etwas Gutes.",
    /* 37 */ "Regen ist nur Konfetti vom Himmel.",
    /* 38 */ "Irgendwann ist jetzt.",
    /* 39 */ "Stark sein beginnt mit dem ersten Schritt.",
    /* 40 */ "Lauf dein eigenes Rennen.",
    /* 41 */ "Der Kilometer, vor dem du Angst hast, ist der, der dich wachsen lässt.",
    // Cheers.
    /* 42 */ "Stark gemacht!",
    /* 43 */ "Wahnsinn, weiter so!",
    /* 44 */ "Das war großartig!",
    /* 45 */ "Du bist on fire!",
    /* 46 */ "Respekt – das zählt!",
    /* 47 */ "Jeder Kilometer ein Sieg!",
    /* 48 */ "Genau so geht das!",
    /* 49 */ "Legendär!",
};

std::string FirstNameOrChampion(const std::string& name) {
    std::string first = FirstName(name);
    // A name that starts with a space has no first word either.
    return first.empty() ? "Champion" : first;
}

}  // namespace

const char* MotivationText(int index) {
    return (index >= 0 && index < kMotivationTextCount) ? kTexts[index] : "";
}

std::string FirstName(const std::string& name) { return name.substr(0, name.find(' ')); }

const char* DayGreeting(int hour) {
    if (hour < 5) return "Gute Nacht";
    if (hour < 11) return "Guten Morgen";
    if (hour < 17) return "Hallo";
    return "Guten Abend";
}

int RandomBelow(int n) {
    if (n <= 1) return 0;
    static std::mutex mutex;
    static std::mt19937 rng{std::random_device{}()};
    // Reject the top remainder so that every value is equally likely.
    const uint64_t range = uint64_t(std::mt19937::max()) + 1;
    const uint64_t limit = range - range % static_cast<uint64_t>(n);
    std::lock_guard lock(mutex);
    uint64_t r;
    do {
        r = rng();
    } while (r >= limit);
    return static_cast<int>(r % static_cast<uint64_t>(n));
}

const char* SayingOfTheDay(int64_t now) {
    const int64_t day = LocalDayNumber(now);
    const int64_t i = ((day % kSayingCount) + kSayingCount) % kSayingCount;
    return kTexts[kSayingFirst + i];
}

const char* SayingOfTheDay() { return SayingOfTheDay(static_cast<int64_t>(std::time(nullptr))); }

const char* RandomCheer() { return kTexts[kCheerFirst + RandomBelow(kCheerCount)]; }

MotivationInput GatherMotivationInput(const Database& db, const Profile* profile, int64_t now) {
    MotivationInput in;
    if (!profile) return in;
    const ActivityList list = ProfileActivities(db, *profile);
    const int64_t today = LocalDayNumber(now);
    const int64_t monday = WeekStart(today);
    in.name = profile->name;
    in.weekGoalKm = profile->weeklyGoalKm;
    in.activityCount = static_cast<int>(list.size());
    int64_t lastDay = 0;
    bool hasPast = false;
    for (const Activity* a : list) {
        const int64_t d = LocalDayNumber(a->start);
        in.totalKm += a->distanceKm;
        if (d >= monday) in.weekKm += a->distanceKm;
        // A future-dated entry is not the last activity done; counting back
        // from it would give a negative gap that reads as "nothing done yet".
        if (d <= today) {
            lastDay = hasPast ? std::max(lastDay, d) : d;
            hasPast = true;
        }
    }
    in.daysSinceLast = hasPast ? static_cast<int>(today - lastDay) : -1;
    in.streakDays = CurrentStreak(list, now);
    in.hour = LocalTime(now).tm_hour;
    return in;
}

MotivationTexts ComposeMotivation(const MotivationInput& in, int64_t now, int paragraph,
                                  int closing) {
    MotivationTexts out;
    const std::string first = FirstNameOrChampion(in.name);
    const char* greeting = in.hour < 11 ? "Guten Morgen" : in.hour < 17 ? "Hallo" : "Guten Abend";
    const int d = in.daysSinceLast;
    const int s = in.streakDays;
    const double g = in.weekGoalKm;
    const double w = in.weekKm;

    if (d < 0) {
        out.title = "Heute ist Tag eins, " + first + "!";
        out.body = "Dein erster Lauf wartet. Jede Reise beginnt mit einem Schritt – mach ihn heute.";
    } else if (s >= 2) {
        out.title = FormatString("%d Tage in Folge – nicht aufhören, %s!", s, first.c_str());
        out.body = "Deine Serie brennt. Halte das Feuer heute am Leben!";
    } else if (d > 3) {
        out.title = "Zeit für dein Comeback, " + first + "!";
        out.body = FormatString(
            "Dein letzter Lauf ist %d Tage her. Deine Beine vermissen dich schon.", d);
    } else if (g > 0.0 && g > w) {
        out.title = "Auf geht's, " + first + " – Zeit zu laufen!";
        out.body = "Noch " + FormatDistance(g - w) + " km bis zu deinem Wochenziel. Du schaffst das!";
    } else {
        out.title = "Zeit für deinen Lauf, " + first + "!";
        out.body = SayingOfTheDay(now);
    }

    std::string& sp = out.speech;
    sp = std::string(greeting) + ", " + first + ". ";
    if (d < 0) {
        sp += "Heute ist ein besonderer Tag – denn heute beginnt deine Geschichte als Läufer. ";
    } else if (d == 0) {
        sp += "Du warst heute schon aktiv – stark! Vielleicht ist heute trotzdem Zeit für einen "
              "lockeren Auslaufkilometer? ";
    } else if (d <= 3) {
        if (s > 1)
            sp += FormatString("Du bist seit %d Tagen am Stück aktiv. Das ist echte Disziplin! ", s);
    } else {
        sp += FormatString(
            "Dein letztes Training ist %d Tage her. Kein Problem – jeder Champion hatte Pausen. "
            "Entscheidend ist nur, dass du heute zurückkommst. ",
            d);
    }
    if (g > 0.0) {
        if (g <= w)
            sp += "Dein Wochenziel hast du schon geknackt – alles, was jetzt kommt, ist Bonus. ";
        else if (w > 0.0)
            sp += "Diese Woche hast du bereits " + FormatDistance(w) +
                  " Kilometer geschafft. Es fehlen nur noch " + FormatDistance(g - w) +
                  " bis zu deinem Ziel. ";
        else
            sp += "Dein Wochenziel sind " + FormatDistance(g) +
                  " Kilometer – und der erste davon beginnt heute. ";
    }
    if (in.totalKm > 1.0)
        sp += "Insgesamt hast du schon " + FormatNumber(in.totalKm, 0) +
              " Kilometer hinter dir. Wahnsinn, oder? ";
    sp += "\n\n";
    sp += MotivationText(kParagraphFirst + (paragraph >= 0 && paragraph < kParagraphCount ? paragraph : 0));
    sp += "\n\n";
    sp += MotivationText(kClosingFirst + (closing >= 0 && closing < kClosingCount ? closing : 0));
    return out;
}

MotivationTexts ComposeMotivation(const MotivationInput& in) {
    const int paragraph = RandomBelow(kParagraphCount);
    const int closing = RandomBelow(kClosingCount);
    return ComposeMotivation(in, static_cast<int64_t>(std::time(nullptr)), paragraph, closing);
}
