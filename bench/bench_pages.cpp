// CPU cost of one whole headless frame (sidebar, page, overlays, status) of the
// overview and of the activities page for a profile of 3,000 activities, with
// the mouse over the page's charts. Target: ≤ 4 ms each.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/harness.h"
#include "model/format.h"
#include "support/sample_data.h"

namespace {

void RunPage(benchmark::State& state, int page) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    const float scale = static_cast<float>(state.range(1));
    Harness h(scale);
    h.Init();
    const int64_t now = MakeLocalTime(2025, 6, 18, 18, 30, 0);
    h.app.wallClock = [now] { return now; };
    h.app.db = sample::SampleDatabase(static_cast<int>(state.range(0)), now);
    h.app.onboardingRequested = false;
    h.app.weatherBusy = true;  // no network from a benchmark
    h.app.page = page;
    ImGui::GetIO().MousePos = ImVec2(700 * scale, 420 * scale);
    for (int i = 0; i < 20; ++i) h.Frame();  // settle layout and animations
    for (auto _ : state) {
        h.Frame();
        benchmark::DoNotOptimize(ImGui::GetDrawData()->TotalVtxCount);
    }
    state.counters["vertices"] = static_cast<double>(ImGui::GetDrawData()->TotalVtxCount);
}

void BM_OverviewPageFrame(benchmark::State& state) { RunPage(state, PageOverview); }
void BM_ActivitiesPageFrame(benchmark::State& state) { RunPage(state, PageActivitiesList); }

BENCHMARK(BM_OverviewPageFrame)->ArgsProduct({{3000}, {1, 2}})->ArgNames({"n", "scale"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ActivitiesPageFrame)->ArgsProduct({{3000}, {1, 2}})->ArgNames({"n", "scale"})->Unit(benchmark::kMicrosecond);

}  // namespace
