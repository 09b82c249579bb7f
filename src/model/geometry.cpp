#include "model/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthDiameterKm = 12742.0176;
constexpr double kMetresPerDegree = 111320.0;

double Radians(double deg) { return deg * kPi / 180.0; }

struct Xy {
    double x = 0.0;
    double y = 0.0;
};

// Squared distance of p to the segment a-b (to a when the segment is a point).
double SegmentDistanceSq(const Xy& p, const Xy& a, const Xy& b) {
    double dx = b.x - a.x;
    double dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = 0.0;
    if (len2 > 0.0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
    double ex = a.x + t * dx - p.x;
    double ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

}  // namespace

double GreatCircleKm(const LatLon& a, const LatLon& b) {
    double phiA = Radians(a.lat);
    double phiB = Radians(b.lat);
    double sLat = std::sin((phiB - phiA) / 2.0);
    double sLon = std::sin(Radians(b.lon - a.lon) / 2.0);
    double h = sLat * sLat + std::cos(phiA) * std::cos(phiB) * sLon * sLon;
    return kEarthDiameterKm * std::asin(std::min(1.0, std::sqrt(h)));
}

double TrackLengthKm(const std::vector<LatLon>& points) {
    double total = 0.0;
    for (size_t i = 1; i < points.size(); ++i) total += GreatCircleKm(points[i - 1], points[i]);
    return total;
}

std::vector<LatLon> ResamplePolyline(const std::vector<LatLon>& points, int n) {
    if (points.size() < 2 || n < 2) return points;
    std::vector<double> cumulative(points.size(), 0.0);
    for (size_t k = 1; k < points.size(); ++k)
        cumulative[k] = cumulative[k - 1] + GreatCircleKm(points[k - 1], points[k]);
    double total = cumulative.back();
    if (!(total > 0.0)) return {};

    std::vector<LatLon> out;
    out.reserve(static_cast<size_t>(n));
    size_t k = 1;
    const size_t last = points.size() - 1;
    for (int j = 0; j < n; ++j) {
        double target = j * total / (n - 1);
        while (k < last && target > cumulative[k]) ++k;
        double segment = cumulative[k] - cumulative[k - 1];
        double t = segment > 0.0 ? std::clamp((target - cumulative[k - 1]) / segment, 0.0, 1.0) : 0.0;
        const LatLon& a = points[k - 1];
        const LatLon& b = points[k];
        out.push_back({a.lat + (b.lat - a.lat) * t, a.lon + (b.lon - a.lon) * t});
    }
    return out;
}

std::vector<LatLon> SimplifyPolyline(const std::vector<LatLon>& points, double toleranceM) {
    const size_t n = points.size();
    if (n < 3) return points;

    const double xScale = kMetresPerDegree * std::cos(Radians(points[0].lat));
    std::vector<Xy> xy(n);
    for (size_t i = 0; i < n; ++i) xy[i] = {points[i].lon * xScale, points[i].lat * kMetresPerDegree};

    const double tolSq = toleranceM * toleranceM;
    std::vector<char> keep(n, 0);
    keep[0] = keep[n - 1] = 1;

    // An explicit stack instead of recursion: a long track that keeps almost
    // every point would otherwise recurse once per point. The work budget keeps
    // crafted zig-zag input (which makes the search quadratic) from stalling the
    // import; ranges left when it runs out keep all their points, which is
    // never geometrically wrong, only less simplified.
    const size_t budget = 64 * n + 1000000;
    size_t work = 0;
    std::vector<std::pair<size_t, size_t>> stack{{0, n - 1}};
    while (!stack.empty()) {
        auto [a, b] = stack.back();
        stack.pop_back();
        if (b <= a + 1) continue;
        if (work > budget) {
            std::fill(keep.begin() + static_cast<std::ptrdiff_t>(a), keep.begin() + static_cast<std::ptrdiff_t>(b), 1);
            continue;
        }
        work += b - a - 1;
        double best = -1.0;
        size_t bestIndex = a;
        for (size_t i = a + 1; i < b; ++i) {
            double d = SegmentDistanceSq(xy[i], xy[a], xy[b]);
            if (d > best) {
                best = d;
                bestIndex = i;
            }
        }
        if (best > tolSq) {
            keep[bestIndex] = 1;
            stack.push_back({bestIndex, b});
            stack.push_back({a, bestIndex});
        }
    }

    std::vector<LatLon> out;
    for (size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(points[i]);
    return out;
}

double ElevationGain(const std::vector<double>& values) {
    if (values.size() < 2) return 0.0;
    double reference = values[0];
    double gain = 0.0;
    for (double v : values) {
        if (v > reference + 3.0) {
            gain += v - reference;
            reference = v;
        } else if (v < reference - 3.0) {
            reference = v;
        }
    }
    return gain;
}
