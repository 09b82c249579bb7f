// Saving and loading the data file of a ten-year heavy user: one profile, one
// activity a day (3 650) each with a 1 500-point track, about 240 MB of text.
// Targets on one core: load within 1.0 s, save within 0.5 s.
//
// Reported per benchmark: time per run, throughput of the text, and the peak
// of heap memory in use during the runs (counted by the allocation functions
// below; a mapped file is not heap) next to the process's peak resident size.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <sys/resource.h>

#include "model/datafile.h"
#include "model/sample_database.h"
#include "model/storage.h"

namespace {

std::atomic<int64_t> gLive{0};
std::atomic<int64_t> gPeak{0};

void* Allocate(size_t size) {
    // A 16-byte header keeps the size for the matching release.
    auto* p = static_cast<char*>(std::malloc(size + 16));
    if (!p) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(p) = size;
    const int64_t live = gLive.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    int64_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
    }
    return p + 16;
}

void Release(void* ptr) {
    if (!ptr) return;
    char* p = static_cast<char*>(ptr) - 16;
    gLive.fetch_sub(static_cast<int64_t>(*reinterpret_cast<size_t*>(p)));
    std::free(p);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace {

const Database& HeavyUser() {
    static const Database db = sample::HeavyUser(3650, 1500, 42);
    return db;
}

const std::string& HeavyText() {
    static const std::string text = SerializeDatabase(HeavyUser());
    return text;
}

std::string BenchDir() {
    static const std::string dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("stridely-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

// Heap in use above what the benchmark held before it started, at its peak.
class PeakHeap {
public:
    PeakHeap() : base_(gLive.load()) { gPeak.store(base_); }
    void Report(benchmark::State& state) const {
        state.counters["heap_peak_MB"] = static_cast<double>(gPeak.load() - base_) / 1e6;
        rusage ru{};
        getrusage(RUSAGE_SELF, &ru);
        state.counters["process_maxrss_MB"] = static_cast<double>(ru.ru_maxrss) / 1024.0;
        state.counters["text_MB"] = static_cast<double>(HeavyText().size()) / 1e6;
    }

private:
    int64_t base_;
};

void BM_SerializeDatabase(benchmark::State& state) {
    const Database& db = HeavyUser();
    const size_t bytes = HeavyText().size();
    PeakHeap peak;
    for (auto _ : state) {
        std::string text = SerializeDatabase(db);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    peak.Report(state);
}

void BM_SaveDatabase(benchmark::State& state) {
    const Database& db = HeavyUser();
    const size_t bytes = HeavyText().size();
    const std::string path = JoinPath(BenchDir(), "data.json");
    PeakHeap peak;
    for (auto _ : state) {
        if (!SaveDatabase(db, path)) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    peak.Report(state);
}

void BM_ParseDatabase(benchmark::State& state) {
    const std::string& text = HeavyText();
    PeakHeap peak;
    for (auto _ : state) {
        Database db;
        if (!ParseDatabase(text, db)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(db.activities.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    peak.Report(state);
}

void BM_LoadDatabase(benchmark::State& state) {
    const std::string path = JoinPath(BenchDir(), "data.json");
    if (!SaveDatabase(HeavyUser(), path)) {
        state.SkipWithError("save failed");
        return;
    }
    const size_t bytes = HeavyText().size();
    PeakHeap peak;
    for (auto _ : state) {
        Database db;
        if (!LoadDatabase(path, db)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(db.activities.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    peak.Report(state);
    std::error_code ec;
    std::filesystem::remove_all(BenchDir(), ec);
}

// The document tree the fast paths replace, for comparison (one run each: it
// takes several seconds and about a gigabyte).
void BM_SerializeDatabaseTree(benchmark::State& state) {
    const Database& db = HeavyUser();
    PeakHeap peak;
    for (auto _ : state) {
        std::string text = SerializeDatabaseTree(db);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * HeavyText().size()));
    peak.Report(state);
}

void BM_ParseDatabaseTree(benchmark::State& state) {
    const std::string& text = HeavyText();
    PeakHeap peak;
    for (auto _ : state) {
        Database db;
        if (!ParseDatabaseTree(text, db)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(db.activities.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    peak.Report(state);
}

}  // namespace

BENCHMARK(BM_SerializeDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ParseDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SerializeDatabaseTree)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ParseDatabaseTree)->Unit(benchmark::kMillisecond)->Iterations(1);
