#include "files/writers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "files/activity_file.h"
#include "model/geometry.h"

namespace {

// Dates in the CSV are local; the suite runs in Berlin time.
struct BerlinTime : testing::Environment {
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};
[[maybe_unused]] testing::Environment* const kBerlin = testing::AddGlobalTestEnvironment(new BerlinTime);

constexpr double kKmPerDegree = 6371.0088 * 3.14159265358979323846 / 180.0;

const std::string kHeader =
    "\xEF\xBB\xBF"
    "Datum;Uhrzeit;Sportart;Titel;Distanz (km);Dauer;Pace (min/km);Tempo (km/h);H\xC3\xB6henmeter;"
    "\xC3\x98 Puls;Kalorien;Gef\xC3\xBChl;Quelle;Notizen\n";

}  // namespace

TEST(Writers, XmlEscape) {
    EXPECT_EQ(XmlEscape("Tom & \"Jerry\" <3> it's"), "Tom &amp; &quot;Jerry&quot; &lt;3&gt; it's");
    EXPECT_EQ(XmlEscape("&amp;"), "&amp;amp;");
    EXPECT_EQ(XmlEscape(""), "");
    EXPECT_EQ(XmlEscape("Stra\xC3\x9F" "e"), "Stra\xC3\x9F" "e");
}

TEST(Writers, GpxDocumentLayout) {
    Activity a;
    a.title = "Lauf & \"Spa\xC3\x9F\" am Rhein's Ufer";
    a.sport = SportRun;
    a.start = 1714545000;
    a.durationSec = 600;
    std::string gpx = GpxDocument(a, {{50.0, 7.0}, {50.01, 7.0000004}});
    EXPECT_EQ(gpx,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<gpx version=\"1.1\" creator=\"Stridely\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
              "  <metadata><name>Lauf &amp; &quot;Spa\xC3\x9F&quot; am Rhein's Ufer</name>"
              "<time>2024-05-01T06:30:00Z</time></metadata>\n"
              "  <trk>\n"
              "    <name>Lauf &amp; &quot;Spa\xC3\x9F&quot; am Rhein's Ufer</name>\n"
              "    <type>Laufen / Joggen</type>\n"
              "    <trkseg>\n"
              "      <trkpt lat=\"50.000000\" lon=\"7.000000\"><time>2024-05-01T06:30:00Z</time></trkpt>\n"
              "      <trkpt lat=\"50.010000\" lon=\"7.000000\"><time>2024-05-01T06:40:00Z</time></trkpt>\n"
              "    </trkseg>\n"
              "  </trk>\n"
              "</gpx>\n");

    // Without a title the sport's name is the name.
    Activity untitled;
    untitled.sport = SportBike;
    EXPECT_NE(GpxDocument(untitled, {}).find("<metadata><name>Radfahren</name>"), std::string::npos);
}

TEST(Writers, GpxSyntheticTimes) {
    Activity a;
    a.start = 1714545000;
    a.durationSec = 900;
    // 1 km, then 2 km: a third of the time for the first leg.
    std::vector<LatLon> pts{{50.0, 7.0}, {50.0 + 1.0 / kKmPerDegree, 7.0}, {50.0 + 3.0 / kKmPerDegree, 7.0}};
    std::string gpx = GpxDocument(a, pts);
    EXPECT_NE(gpx.find("<time>2024-05-01T06:30:00Z</time></trkpt>"), std::string::npos);
    EXPECT_NE(gpx.find("<time>2024-05-01T06:35:00Z</time></trkpt>"), std::string::npos);
    EXPECT_NE(gpx.find("<time>2024-05-01T06:45:00Z</time></trkpt>"), std::string::npos);

    // All points on one spot (length 0), and a line with a negative or broken
    // duration: every point carries the start time.
    auto startTimes = [](const std::string& doc) {
        size_t count = 0;
        for (size_t p = doc.find("06:30:00Z</time></trkpt>"); p != std::string::npos;
             p = doc.find("06:30:00Z</time></trkpt>", p + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(startTimes(GpxDocument(a, std::vector<LatLon>(3, {50.0, 7.0}))), 3u);
    for (double duration : {-50.0, std::nan("")}) {
        a.durationSec = duration;
        EXPECT_EQ(startTimes(GpxDocument(a, {{50.0, 7.0}, {50.01, 7.0}, {50.02, 7.0}})), 3u) << duration;
    }
}

TEST(Writers, GpxRoundTrip) {
    Activity a;
    a.title = "Runde";
    a.sport = SportHike;
    a.start = 1718467200;
    a.durationSec = 4321;
    std::vector<LatLon> pts{{47.123456, 8.654321}, {47.124001, 8.655002}, {47.126789, 8.654999},
                            {47.125555, 8.651111}, {47.123457, 8.654322}};
    ParsedActivity back = ParseActivityFile(GpxDocument(a, pts));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.track, pts);  // six decimals survive exactly
    EXPECT_EQ(back.start, a.start);
    EXPECT_EQ(back.durationSec, a.durationSec);
    EXPECT_EQ(back.name, "Runde");
    EXPECT_EQ(back.sport, SportHike);  // the type "Wandern" is guessed back
    EXPECT_NEAR(back.distanceKm, TrackLengthKm(pts), 1e-12);
}

TEST(Writers, CsvQuote) {
    EXPECT_EQ(CsvQuote(""), "\"\"");
    EXPECT_EQ(CsvQuote("a;b"), "\"a;b\"");
    EXPECT_EQ(CsvQuote("er sagte \"hallo\""), "\"er sagte \"\"hallo\"\"\"");
}

TEST(Writers, CsvDocument) {
    EXPECT_EQ(CsvDocument({}), kHeader);

    Activity run;
    run.sport = SportRun;
    run.start = 1714545000;  // 08:30 in Berlin (summer time)
    run.title = "Mein \"Lauf\"";
    run.distanceKm = 10.0;
    run.durationSec = 3000;
    run.elevationGain = 123.4;
    run.calories = 725.4;
    run.feel = 4;
    run.source = "gpx";
    run.notes = "Gut; \"schnell\"\nZeile 2";

    Activity ride;
    ride.sport = SportBike;
    ride.start = 1704067200;  // 1 January 2024, 01:00 in Berlin
    ride.distanceKm = 12345.678;
    ride.durationSec = 0;
    ride.avgHr = 150;
    ride.calories = 1234.6;
    ride.source = "strava";

    Activity walk;
    walk.sport = SportWalk;
    walk.start = 1704067200;
    walk.distanceKm = 0.5;
    walk.durationSec = 3700;
    walk.source = "manual";

    std::string csv = CsvDocument({&run, &ride, &walk});
    EXPECT_EQ(csv, kHeader +
                       "01.05.2024;08:30;\"Laufen / Joggen\";\"Mein \"\"Lauf\"\"\";10,00;50:00;5:00;12,0;123;;725;4;"
                       "gpx;\"Gut; \"\"schnell\"\"\nZeile 2\"\n"
                       "01.01.2024;01:00;\"Radfahren\";\"\";12.345,68;0:00;\xE2\x80\x93:\xE2\x80\x93\xE2\x80\x93;0,0;0;150;"
                       "1.235;3;strava;\"\"\n"
                       "01.01.2024;01:00;\"Walking\";\"\";0,50;1:01:40;\xE2\x80\x93:\xE2\x80\x93\xE2\x80\x93;0,5;0;;0;3;manual;\"\"\n");
}
