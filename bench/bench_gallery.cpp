// CPU cost of one headless frame that draws the whole gallery (every themed control,
// chart, field and the icon grid), with the mouse over the charts. Target: ≤ 1 ms.
#include <benchmark/benchmark.h>

#include "ui/gallery.h"
#include "ui/headless.h"
#include "ui/overlays.h"

namespace {

void BM_GalleryFrame(benchmark::State& state) {
    HeadlessUi ui(static_cast<float>(state.range(0)));
    const ImVec2 d = ui.Io().DisplaySize;
    ui.Io().MousePos = ImVec2(d.x * 0.8f, d.y * 0.2f);
    auto overlays = [] {
        DrawConfirm();
        DrawStatus();
    };
    for (int i = 0; i < 10; ++i) ui.Frame(DrawGallery, overlays);  // settle layout and animations
    for (auto _ : state) {
        ui.Frame(DrawGallery, overlays);
        benchmark::DoNotOptimize(ImGui::GetDrawData()->TotalVtxCount);
    }
    state.counters["vertices"] = static_cast<double>(ImGui::GetDrawData()->TotalVtxCount);
}
BENCHMARK(BM_GalleryFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
