#include "files/activity_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "files/fixture.h"
#include "model/format.h"
#include "model/geometry.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
double MeridianKm(double degrees) { return 6371.0088 * degrees * kPi / 180.0; }

std::string Gpx(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" + body +
           "\n</gpx>\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t p = text.find(from); p != std::string::npos; p = text.find(from, p + to.size()))
        text.replace(p, from.size(), to);
    return text;
}

}  // namespace

struct DeviceFileCase {
    const char* file;
    int sport;
    std::string name;
    int64_t start;
    double durationSec;
    double distanceKm;
    double elevationGain;
    int avgHr;
    size_t trackPoints;
};

class DeviceFiles : public testing::TestWithParam<DeviceFileCase> {};

TEST_P(DeviceFiles, ReadAsTheDeviceWroteThem) {
    const DeviceFileCase& c = GetParam();
    std::string text = ReadFilesFixture(c.file);
    ASSERT_FALSE(text.empty()) << c.file;
    ParsedActivity r = ParseActivityFile(text);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.sport, c.sport);
    EXPECT_EQ(r.name, c.name);
    EXPECT_EQ(r.start, c.start);
    EXPECT_DOUBLE_EQ(r.durationSec, c.durationSec);
    EXPECT_NEAR(r.distanceKm, c.distanceKm, 1e-9);
    EXPECT_DOUBLE_EQ(r.elevationGain, c.elevationGain);
    EXPECT_EQ(r.avgHr, c.avgHr);
    EXPECT_EQ(r.track.size(), c.trackPoints);

    // Windows line ends and a byte-order mark change nothing.
    ParsedActivity crlf = ParseActivityFile("\xEF\xBB\xBF" + Replace(text, "\n", "\r\n"));
    EXPECT_EQ(crlf.ok, r.ok);
    EXPECT_EQ(crlf.track, r.track);
    EXPECT_EQ(crlf.start, r.start);
    EXPECT_EQ(crlf.durationSec, r.durationSec);
    EXPECT_EQ(crlf.avgHr, r.avgHr);
    EXPECT_EQ(crlf.elevationGain, r.elevationGain);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, DeviceFiles,
    testing::Values(
        // Watch: heart rate in a prefixed extension; the metadata's name and
        // time are not the track's.
        DeviceFileCase{"watch.gpx", SportRun, "Morgenlauf am See", 1714545000, 120, MeridianKm(0.004), 10, 151, 5},
        // Phone app: route points only, single-quoted attributes, no times.
        DeviceFileCase{"phone_route.gpx", SportWalk, "", 0, 0, MeridianKm(0.003), 0, 0, 3},
        // Logger without time stamps, self-closing points.
        DeviceFileCase{"no_time.gpx", SportRun, "", 0, 0, MeridianKm(0.02), 0, 0, 3},
        // Bike computer: two laps, ns3 extensions; the lap distances win over
        // the track, the lap heart-rate summaries are not samples.
        DeviceFileCase{"bike.tcx", SportBike, "", 1718467200, 600, 2.0005, 25, 135, 4},
        // Treadmill: no positions, distance from the lap.
        DeviceFileCase{"treadmill.tcx", SportRun, "", 1710093600, 1530, 5.0, 0, 140, 0}),
    [](const testing::TestParamInfo<DeviceFileCase>& info) {
        std::string n = info.param.file;
        return n.substr(0, n.find('.'));
    });

TEST(ParseActivityFile, GpxPointRules) {
    struct Case {
        const char* what;
        std::string body;
        bool ok;
        size_t points;
        double durationSec;
    };
    const Case cases[] = {
        {"single point fails", "<trk><trkseg><trkpt lat=\"50\" lon=\"7\"/></trkseg></trk>", false, 1, 0},
        {"track points win over route points",
         "<rte><rtept lat=\"1\" lon=\"1\"/><rtept lat=\"2\" lon=\"2\"/><rtept lat=\"3\" lon=\"3\"/></rte>"
         "<trk><trkseg><trkpt lat=\"50\" lon=\"7\"/><trkpt lat=\"50.1\" lon=\"7\"/></trkseg></trk>",
         true, 2, 0},
        {"point without position still gives its time",
         "<trk><trkseg><trkpt><time>2024-05-01T06:00:00Z</time></trkpt>"
         "<trkpt lat=\"50\" lon=\"7\"><time>2024-05-01T06:10:00Z</time></trkpt>"
         "<trkpt lat=\"50.01\" lon=\"7\"><time>2024-05-01T06:20:00Z</time></trkpt></trkseg></trk>",
         true, 2, 1200},
        {"unreadable times are dropped, first and last readable count",
         "<trk><trkseg><trkpt lat=\"50\" lon=\"7\"><time>gestern</time></trkpt>"
         "<trkpt lat=\"50.01\" lon=\"7\"><time>2024-05-01T06:10:00+02:00</time></trkpt>"
         "<trkpt lat=\"50.02\" lon=\"7\"><time></time></trkpt>"
         "<trkpt lat=\"50.03\" lon=\"7\"><time>2024-05-01T04:40:00Z</time></trkpt></trkseg></trk>",
         true, 4, 30 * 60},
        {"time is taken in document order, not min and max",
         "<trk><trkseg><trkpt lat=\"50\" lon=\"7\"><time>2024-05-01T06:00:00Z</time></trkpt>"
         "<trkpt lat=\"50.01\" lon=\"7\"><time>2024-05-01T07:00:00Z</time></trkpt>"
         "<trkpt lat=\"50.02\" lon=\"7\"><time>2024-05-01T06:30:00Z</time></trkpt></trkseg></trk>",
         true, 3, 1800},
        {"unparseable coordinates drop the point",
         "<trk><trkseg><trkpt lat=\"abc\" lon=\"7\"/><trkpt lat=\"50\" lon=\"\"/>"
         "<trkpt lat=\"nan\" lon=\"7\"/><trkpt lat=\"inf\" lon=\"7\"/><trkpt lat=\"95\" lon=\"7\"/>"
         "<trkpt lat=\"50\" lon=\"7\"/><trkpt lat=\"50.01\" lon=\"7\"/></trkseg></trk>",
         true, 2, 0},
        {"attribute names must stand alone", "<trk><trkseg><trkpt xlat=\"50\" lon=\"7\"/><trkpt lat=\"50\" flon=\"7\"/></trkseg></trk>",
         false, 0, 0},
        {"attributes on new lines and with tabs",
         "<trk><trkseg><trkpt\n lat=\"50\"\tlon=\"7\"/><trkpt\r\n  lat='50.01'\n  lon='7' /></trkseg></trk>", true,
         2, 0},
        {"longer tag names are not the point tags", "<trk><trkseg><trkptx lat=\"50\" lon=\"7\"/><trkptx lat=\"51\" lon=\"7\"/></trkseg></trk>",
         false, 0, 0},
        {"no points at all", "<trk><name>leer</name></trk>", false, 0, 0},
    };
    for (const Case& c : cases) {
        ParsedActivity r = ParseActivityFile(Gpx(c.body));
        EXPECT_EQ(r.ok, c.ok) << c.what;
        EXPECT_EQ(r.track.size(), c.points) << c.what;
        EXPECT_EQ(r.durationSec, c.durationSec) << c.what;
    }
}

TEST(ParseActivityFile, BodyValues) {
    // Unreadable elevations and heart rates are skipped, not read as 0 (which
    // would invent a climb and lower the average); heart rate without any
    // sample stays 0; the "time" tag does not match "timestamp".
    ParsedActivity r = ParseActivityFile(Gpx(
        "<trk><name>A &amp; B &#x26; &unbekannt; <x></name><trkseg>"
        "<trkpt lat=\"50\" lon=\"7\"><ele>400</ele><timestamp>2024-01-01T00:00:00Z</timestamp>"
        "<time>2024-05-01T06:00:00Z</time></trkpt>"
        "<trkpt lat=\"50.01\" lon=\"7\"><ele>n/a</ele><hr>--</hr></trkpt>"
        "<trkpt lat=\"50.02\" lon=\"7\"><ele> 410.5 </ele><hr>1e300</hr><time>2024-05-01T06:05:00Z</time></trkpt>"
        "</trkseg></trk>"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.name, "A &amp; B &#x26; &unbekannt; ");
    EXPECT_DOUBLE_EQ(r.elevationGain, 10.5);
    EXPECT_EQ(r.avgHr, 0);
    EXPECT_EQ(r.start, 1714543200);
    EXPECT_EQ(r.durationSec, 300);

    // Prefixed heart rate with the closing tag prefixed as well, rounded average.
    ParsedActivity hr = ParseActivityFile(Gpx(
        "<trk><trkseg><trkpt lat=\"50\" lon=\"7\"><extensions><a:b><ns3:hr>141</ns3:hr></a:b></extensions></trkpt>"
        "<trkpt lat=\"50.01\" lon=\"7\"><extensions><x-y_1:hr>142</x-y_1:hr></extensions></trkpt></trkseg></trk>"));
    EXPECT_EQ(hr.avgHr, 142);  // 141.5 rounds up
}

TEST(ParseActivityFile, NameIsAlwaysValidUtf8) {
    ParsedActivity latin1 = ParseActivityFile(Gpx(
        "<trk><name>Lauf im M\xE4rz</name><trkseg><trkpt lat=\"50\" lon=\"7\"/><trkpt lat=\"50.01\" lon=\"7\"/></trkseg></trk>"));
    EXPECT_EQ(latin1.name, "Lauf im M\xC3\xA4rz");
    ParsedActivity utf8 = ParseActivityFile(Gpx(
        "<trk><name>Lauf im M\xC3\xA4rz</name><trkseg><trkpt lat=\"50\" lon=\"7\"/><trkpt lat=\"50.01\" lon=\"7\"/></trkseg></trk>"));
    EXPECT_EQ(utf8.name, "Lauf im M\xC3\xA4rz");
}

TEST(ParseActivityFile, TcxTrackpointsAndLaps) {
    std::string tcx =
        "<TrainingCenterDatabase><Activities><Activity Sport=\"Other\">"
        "<Lap StartTime=\"x\"><DistanceMeters>abc</DistanceMeters><Track>"
        "<Trackpoint><Time>2024-05-01T06:00:00Z</Time><Position><LatitudeDegrees>50</LatitudeDegrees>"
        "<LongitudeDegrees>7</LongitudeDegrees></Position></Trackpoint>"
        "<Trackpoint><Time>2024-05-01T06:01:00Z</Time><Position><LatitudeDegrees>50.01</LatitudeDegrees></Position></Trackpoint>"
        "<Trackpoint><Time>2024-05-01T06:02:00Z</Time><Position><LatitudeDegrees>50.02</LatitudeDegrees>"
        "<LongitudeDegrees>7</LongitudeDegrees></Position><HeartRateBpm><Value>120</Value></HeartRateBpm></Trackpoint>"
        "</Track></Lap></Activity></Activities></TrainingCenterDatabase>";
    ParsedActivity r = ParseActivityFile(tcx);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.track.size(), 2u);  // the point without longitude is no track point
    EXPECT_NEAR(r.distanceKm, MeridianKm(0.02), 1e-9);  // no usable lap distance: the track's
    EXPECT_EQ(r.durationSec, 120);
    EXPECT_EQ(r.avgHr, 120);
    EXPECT_EQ(r.sport, SportRun);

    // TCX without positions and without lap distance has nothing to import.
    ParsedActivity empty = ParseActivityFile(
        "<TrainingCenterDatabase><Activity Sport=\"Running\"><Lap StartTime=\"x\"><Track><Trackpoint>"
        "<Time>2024-05-01T06:00:00Z</Time></Trackpoint><Trackpoint><Time>2024-05-01T06:30:00Z</Time></Trackpoint>"
        "</Track></Lap></Activity></TrainingCenterDatabase>");
    EXPECT_FALSE(empty.ok);
}

TEST(ParseActivityFile, LongTracksAreSimplifiedAfterMeasuring) {
    std::string body = "<trk><trkseg>";
    for (int i = 0; i < 2000; ++i)
        body += "<trkpt lat=\"" + std::to_string(50.0 + i * 1e-4) + "\" lon=\"7.000000\"/>\n";
    body += "</trkseg></trk>";
    ParsedActivity r = ParseActivityFile(Gpx(body));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.track.size(), 2u);  // a straight line
    EXPECT_NEAR(r.distanceKm, MeridianKm(1999 * 1e-4), 1e-6);

    // Exactly 1500 points stay as they are.
    std::string exact = "<trk><trkseg>";
    for (int i = 0; i < 1500; ++i)
        exact += "<trkpt lat=\"" + std::to_string(50.0 + i * 1e-4) + "\" lon=\"7.000000\"/>";
    exact += "</trkseg></trk>";
    EXPECT_EQ(ParseActivityFile(Gpx(exact)).track.size(), 1500u);
}

TEST(ParseActivityFile, BadInputNeverCrashes) {
    const std::string watch = ReadFilesFixture("watch.gpx");
    const std::string bike = ReadFilesFixture("bike.tcx");
    // Every truncation of real files: imports what is readable, never reads
    // past the end (the sanitizer build checks that).
    for (const std::string* file : {&watch, &bike}) {
        size_t lastPoints = 0;
        for (size_t n = 0; n <= file->size(); ++n) {
            ParsedActivity r = ParseActivityFile(file->substr(0, n));
            EXPECT_GE(r.track.size(), lastPoints) << n;  // a longer prefix never loses a point
            lastPoints = r.track.size();
        }
        EXPECT_EQ(lastPoints, ParseActivityFile(*file).track.size());
    }

    const std::string junk[] = {
        "",
        "kein XML",
        "<",
        "</",
        "<gpx:",
        "<trkpt",
        "<trkpt lat=\"",
        "<trkpt lat=\"50\" lon=\"7\"",
        "<trkpt lat=\"50\" lon=\"7\"><ele>",
        "<TrainingCenterDatabase><Activity Sport=",
        "<TrainingCenterDatabase><Lap ",
        "<TrainingCenterDatabase><Trackpoint><HeartRateBpm",
        std::string("<gpx>\0<trkpt lat=\"1\" lon=\"1\"/>\0", 31),
        "\xFF\xFE<\0g\0p\0x\0",  // UTF-16 is not read
    };
    for (const std::string& text : junk) EXPECT_FALSE(ParseActivityFile(text).ok) << text;

    // A few megabytes of random bytes sprinkled with markup fragments.
    std::mt19937 rng(7);
    const char* pieces[] = {"<trkpt ", "lat=\"", "lon='", "\"", ">", "</trkpt>", "<ele>", "<time>", "<hr>",
                            "<Lap ", "<Track", "<TrainingCenterDatabase", "<ns3:", "/>", "1.5", "-7e2", "&amp;"};
    std::string noise;
    while (noise.size() < 3'000'000) {
        if (rng() % 3 == 0)
            noise += pieces[rng() % std::size(pieces)];
        else
            noise += static_cast<char>(rng() % 256);
    }
    ParsedActivity r = ParseActivityFile(noise);
    for (const LatLon& p : r.track) {
        EXPECT_TRUE(std::isfinite(p.lat) && std::isfinite(p.lon));
    }
    EXPECT_TRUE(std::isfinite(r.distanceKm));
    EXPECT_TRUE(std::isfinite(r.elevationGain));
}

TEST(ParseActivityFile, LargeUnclosedInputStaysLinear) {
    // Without closing tags every point's search would otherwise run to the end
    // of the file: hours for a file like this instead of milliseconds.
    std::string gpx;
    for (int i = 0; i < 200000; ++i) gpx += "<trkpt lat=\"50\" lon=\"7\">";
    EXPECT_TRUE(ParseActivityFile(gpx).ok);
    std::string tcx = "<TrainingCenterDatabase>";
    for (int i = 0; i < 200000; ++i) tcx += "<Lap <Trackpoint><HeartRateBpm";
    EXPECT_FALSE(ParseActivityFile(tcx).ok);
    std::string tags;
    for (int i = 0; i < 200000; ++i) tags += "<trkpt lat=\"50\" lon=\"7\"";  // no ">" at all
    EXPECT_TRUE(ParseActivityFile(tags).ok);
}

TEST(ParseActivityFile, TrackTimesAgreeWithParseIsoTime) {
    const char* texts[] = {
        "2024-05-01T06:30:00Z", "2024-05-01T06:30:00.123Z", "2024-05-01T08:30:00+02:00", "2024-12-31T23:59:59-05:30",
        "2024-02-31T12:00:00Z",  // rolls over into March like the calendar conversion does
        "1969-12-31T23:59:59Z", "2000-02-29T00:00:00", "2024-05-01T06:30:60Z", "2024-13-01T00:00:00Z",
        "2024-05-01T06:30Z", "2024-05-01", " 2024-05-01T06:30:00Z", "2024-05-01T06:30:00+0200", "2024-05-01T06:30:00.Z",
        "2024-05-01T06:30:00ZZ", "gestern", "", "2024-05-01T06:30:00+02:00x", "99999-01-01T00:00:00Z",
    };
    for (const char* t : texts) EXPECT_EQ(ParseTrackTime(t), ParseIsoTime(t)) << t;
}

TEST(GuessSport, Keywords) {
    const std::pair<const char*, int> cases[] = {
        {"Biking", SportBike},          {"Mountain Biking", SportBike},  {"cycling", SportBike},
        {"Radfahren", SportBike},       {"Nordic Walking", SportWalk},   {"Gehen", SportWalk},
        {"Wanderung", SportHike},       {"hiking", SportHike},           {"Open Water Swimming", SportSwim},
        {"Schwimmen", SportSwim},       {"Running", SportRun},           {"Yoga", SportRun},
        {"Lauf", SportRun},             {"", SportRun},                  {"walk by bike", SportBike},
        {"HIKING", SportHike},
    };
    for (const auto& [text, sport] : cases) EXPECT_EQ(GuessSport(text), sport) << text;
}

TEST(XmlScanning, ElementText) {
    const std::string doc = "<a><time >1</time><timer>2</timer><time>3<b/></time><ele>  4 </ele><x>";
    EXPECT_EQ(XmlElementText(doc, 0, doc.size(), "time"), "1");
    EXPECT_EQ(XmlElementText(doc, 10, doc.size(), "time"), "3");  // "timer" does not match
    EXPECT_EQ(XmlElementText(doc, 0, doc.size(), "ele"), "  4 ");  // untrimmed
    EXPECT_EQ(XmlElementText(doc, 0, doc.size(), "x"), "");       // no "<" after the text
    EXPECT_EQ(XmlElementText(doc, 0, 3, "time"), "");             // starts after `to`
    size_t t = doc.find("<time>");
    EXPECT_EQ(XmlElementText(doc, t, t + 6, "time"), "");         // text runs past `to`
    EXPECT_EQ(XmlElementText(doc, t, t + 7, "time"), "3");
    EXPECT_EQ(XmlElementText(doc, doc.size() + 5, doc.size() + 9, "time"), "");
}

TEST(XmlScanning, AttributeNumber) {
    const std::string doc = "<p xlat=\"1\" lat=\"47.5\" lon='-8.25' ele=12 hr=\" 60\">";
    double v = 0.0;
    EXPECT_TRUE(XmlAttributeNumber(doc, 0, doc.size(), "lat", v));
    EXPECT_EQ(v, 47.5);
    EXPECT_TRUE(XmlAttributeNumber(doc, 0, doc.size(), "lon", v));
    EXPECT_EQ(v, -8.25);
    EXPECT_FALSE(XmlAttributeNumber(doc, 0, doc.size(), "ele", v));  // not quoted
    EXPECT_FALSE(XmlAttributeNumber(doc, 0, doc.find("lat="), "lat", v));
    EXPECT_TRUE(XmlAttributeNumber(doc, 0, doc.size(), "hr", v));
    EXPECT_EQ(v, 60);
    EXPECT_FALSE(XmlAttributeNumber(doc, 0, doc.size(), "cad", v));
    EXPECT_FALSE(XmlAttributeNumber("lat=\"1\"", 0, 7, "lat", v));  // nothing before the name
}

TEST(XmlScanning, NumbersIgnoreTheLocale) {
    double v = 0.0;
    EXPECT_TRUE(ParseXmlNumber("\n 12.5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(ParseXmlNumber("+3e2x", v));
    EXPECT_EQ(v, 300);
    EXPECT_FALSE(ParseXmlNumber("", v));
    EXPECT_FALSE(ParseXmlNumber("nan", v));
    EXPECT_FALSE(ParseXmlNumber("-inf", v));
    EXPECT_FALSE(ParseXmlNumber("1e999", v));
    EXPECT_FALSE(ParseXmlNumber(",5", v));
}
