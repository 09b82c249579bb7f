// Reading speed of the GPX/TCX scanner on a 50 MB watch recording
// (~300,000 points with elevation, time and a prefixed heart rate), and the
// speed of the writers.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files/activity_file.h"
#include "files/writers.h"
#include "model/format.h"

namespace {

// One line per point as watches export them, about 175 bytes each.
std::string WatchGpx(int points) {
    std::string gpx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx creator=\"Sport Watch\" version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
        "xmlns:ns3=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
        "<metadata><time>2024-05-01T06:30:00.000Z</time></metadata>\n"
        "<trk><name>Langer Lauf</name><type>running</type><trkseg>\n";
    gpx.reserve(static_cast<size_t>(points) * 180 + 4096);
    char line[512];
    const int64_t start = 1714545000;
    // A runner at 3 m/s sampled every second on slowly winding streets, with
    // about a metre of GPS noise.
    double lat = 47.0;
    double lon = 8.5;
    for (int i = 0; i < points; ++i) {
        double heading = 0.004 * i + 0.8 * std::sin(i / 60.0);
        lat += 3.0 * std::cos(heading) / 111320.0;
        lon += 3.0 * std::sin(heading) / (111320.0 * 0.682);
        double noise = ((i * 7919LL) % 11 - 5) * 0.2 / 111320.0;
        std::snprintf(line, sizeof line,
                      "<trkpt lat=\"%.8f\" lon=\"%.8f\"><ele>%.1f</ele><time>%s</time><extensions>"
                      "<ns3:TrackPointExtension><ns3:hr>%d</ns3:hr></ns3:TrackPointExtension></extensions></trkpt>\n",
                      lat + noise, lon - noise, 400.0 + 20.0 * std::sin(i / 300.0), FormatIsoUtc(start + i).c_str(),
                      120 + i % 50);
        gpx += line;
    }
    gpx += "</trkseg></trk>\n</gpx>\n";
    return gpx;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_ParseGpx50MB(benchmark::State& state) {
    static const std::string gpx = WatchGpx(300000);
    size_t points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = gpx;  // the import moves the file's bytes in
        state.ResumeTiming();
        ParsedActivity r = ParseActivityFile(std::move(copy));
        benchmark::DoNotOptimize(r);
        points = r.track.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gpx.size()));
    state.counters["storedPoints"] = static_cast<double>(points);
    state.counters["fileMB"] = static_cast<double>(gpx.size()) / (1 << 20);
    state.counters["peakMB"] = PeakMegabytes();
}
BENCHMARK(BM_ParseGpx50MB)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_GpxDocument(benchmark::State& state) {
    Activity a;
    a.start = 1714545000;
    a.durationSec = 3600;
    std::vector<LatLon> track;
    for (int i = 0; i < 1500; ++i) track.push_back({47.0 + i * 1e-4, 8.5 + (i % 7) * 1e-5});
    size_t bytes = 0;
    for (auto _ : state) {
        std::string doc = GpxDocument(a, track);
        bytes += doc.size();
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_GpxDocument);

void BM_CsvDocument(benchmark::State& state) {
    std::vector<Activity> all(2000);
    for (size_t i = 0; i < all.size(); ++i) {
        all[i].start = 1714545000 + static_cast<int64_t>(i) * 86400;
        all[i].distanceKm = 5.0 + static_cast<double>(i % 20);
        all[i].durationSec = all[i].distanceKm * 330;
        all[i].title = "Lauf \"" + std::to_string(i) + "\"";
    }
    std::vector<const Activity*> refs;
    for (const Activity& a : all) refs.push_back(&a);
    for (auto _ : state) benchmark::DoNotOptimize(CsvDocument(refs));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * refs.size()));
}
BENCHMARK(BM_CsvDocument);

}  // namespace
