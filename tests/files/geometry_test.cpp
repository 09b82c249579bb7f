#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kRadiusKm = 6371.0088;
constexpr double kPi = 3.14159265358979323846;

double MeridianKm(double degrees) { return kRadiusKm * degrees * kPi / 180.0; }

}  // namespace

TEST(Geometry, GreatCircleKm) {
    EXPECT_NEAR(GreatCircleKm({47.0, 8.0}, {48.0, 8.0}), MeridianKm(1.0), 1e-9);
    EXPECT_NEAR(GreatCircleKm({0.0, 0.0}, {0.0, 1.0}), MeridianKm(1.0), 1e-9);  // along the equator
    EXPECT_DOUBLE_EQ(GreatCircleKm({52.5, 13.4}, {48.1, 11.6}), GreatCircleKm({48.1, 11.6}, {52.5, 13.4}));
    EXPECT_NEAR(GreatCircleKm({0.0, 0.0}, {0.0, 180.0}), kRadiusKm * kPi, 1e-6);  // antipodes clamp asin
    EXPECT_EQ(GreatCircleKm({50.0, 7.0}, {50.0, 7.0}), 0.0);
}

TEST(Geometry, TrackLengthKm) {
    EXPECT_EQ(TrackLengthKm({}), 0.0);
    EXPECT_EQ(TrackLengthKm({{50.0, 7.0}}), 0.0);
    EXPECT_NEAR(TrackLengthKm({{50.0, 7.0}, {50.01, 7.0}, {50.03, 7.0}}), MeridianKm(0.03), 1e-9);
    // Back and forth counts both ways.
    EXPECT_NEAR(TrackLengthKm({{50.0, 7.0}, {50.01, 7.0}, {50.0, 7.0}}), MeridianKm(0.02), 1e-9);
}

TEST(Geometry, ResamplePolyline) {
    std::vector<LatLon> line{{50.0, 7.0}, {50.01, 7.0}, {50.04, 7.0}};
    auto out = ResamplePolyline(line, 100);
    ASSERT_EQ(out.size(), 100u);
    EXPECT_EQ(out.front(), line.front());
    EXPECT_NEAR(out.back().lat, line.back().lat, 1e-12);
    EXPECT_NEAR(out.back().lon, line.back().lon, 1e-12);
    // Equal spacing across the vertex between the two segments.
    double step = MeridianKm(0.04) / 99.0;
    for (size_t i = 1; i < out.size(); ++i) EXPECT_NEAR(GreatCircleKm(out[i - 1], out[i]), step, 1e-9);

    EXPECT_TRUE(ResamplePolyline({{50.0, 7.0}, {50.0, 7.0}, {50.0, 7.0}}, 10).empty());
    EXPECT_EQ(ResamplePolyline(line, 1), line);
    EXPECT_EQ(ResamplePolyline(line, -5), line);
    EXPECT_EQ(ResamplePolyline({{50.0, 7.0}}, 10), (std::vector<LatLon>{{50.0, 7.0}}));
    // Zero-length segments inside a line are stepped over.
    auto withRepeat = ResamplePolyline({{50.0, 7.0}, {50.01, 7.0}, {50.01, 7.0}, {50.02, 7.0}}, 3);
    ASSERT_EQ(withRepeat.size(), 3u);
    EXPECT_NEAR(withRepeat[1].lat, 50.01, 1e-9);
    EXPECT_NEAR(withRepeat[2].lat, 50.02, 1e-9);
}

TEST(Geometry, SimplifyPolylineKeepsEndsAndOrder) {
    // 0.0001 degrees of longitude at 50 N are 7.2 m, 0.00001 are 0.7 m: a
    // 14 m detour survives, points within a metre of the legs do not.
    std::vector<LatLon> line{{50.0, 7.0}, {50.001, 7.00011}, {50.002, 7.0002}, {50.003, 7.0001}, {50.004, 7.0}};
    EXPECT_EQ(SimplifyPolyline(line, 3.0), (std::vector<LatLon>{{50.0, 7.0}, {50.002, 7.0002}, {50.004, 7.0}}));
    EXPECT_EQ(SimplifyPolyline(line, 0.5), (std::vector<LatLon>{line[0], line[1], line[2], line[4]}));

    std::vector<LatLon> two{{50.0, 7.0}, {50.0, 7.0}};
    EXPECT_EQ(SimplifyPolyline(two, 3.0), two);
    EXPECT_TRUE(SimplifyPolyline({}, 3.0).empty());

    // A closed loop: the ends coincide, so distances are measured to that point.
    std::vector<LatLon> loop{{50.0, 7.0}, {50.001, 7.0}, {50.001, 7.001}, {50.0, 7.001}, {50.0, 7.0}};
    EXPECT_EQ(SimplifyPolyline(loop, 3.0), loop);

    // A straight line loses every inner point.
    std::vector<LatLon> straight;
    for (int i = 0; i < 3000; ++i) straight.push_back({50.0 + i * 1e-4, 7.0});
    EXPECT_EQ(SimplifyPolyline(straight, 3.0), (std::vector<LatLon>{straight.front(), straight.back()}));
}

TEST(Geometry, SimplifyPolylineSurvivesWorstCaseInput) {
    // A zig-zag of growing amplitude makes every split peel off one point at
    // the far end: quadratic work for plain Douglas-Peucker, and a recursion
    // as deep as the track is long. It must finish quickly and keep nearly
    // every point (all but the first few are far off any chord).
    std::vector<LatLon> zigzag;
    const int n = 200000;
    for (int i = 0; i < n; ++i) zigzag.push_back({50.0 + i * 1e-6, 7.0 + (i % 2 ? 1 : -1) * i * 1e-6});
    auto out = SimplifyPolyline(zigzag, 3.0);
    EXPECT_GT(out.size(), zigzag.size() * 99 / 100);
    EXPECT_EQ(out.front(), zigzag.front());
    EXPECT_EQ(out.back(), zigzag.back());
    for (size_t i = 1; i < out.size(); ++i) EXPECT_LT(out[i - 1].lat, out[i].lat);
}

TEST(Geometry, ElevationGain) {
    struct Case {
        std::vector<double> values;
        double gain;
    };
    const Case cases[] = {
        {{100, 102, 100, 102, 106}, 6},  // wiggles inside the band, then one climb of 6
        {{}, 0},
        {{100}, 0},
        {{100, 103}, 0},             // exactly 3 m is inside the band
        {{100, 103.5}, 3.5},
        {{100, 90, 95}, 5},          // a descent moves the reference down
        {{100, 98, 96, 94, 92}, 0},  // descents never add
        {{0, 10, 0, 10}, 20},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ElevationGain(c.values), c.gain) << c.values.size();
}
