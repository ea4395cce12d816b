// The shadow bitmap is recomputed on activation, shrinking and parameter
// changes; this measures one computation for the installer's look.

#include "skinui/CShadowBitmap.h"

#include <benchmark/benchmark.h>

namespace {

void ComputeShadow(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const SkinUI::TShadowLook look{6, 10, 20, 1, 1, 0x763B00};
    const auto shape = SkinUI::CShadowBitmap::WindowShape(width, height, {2, 2});
    SkinUI::CShadowBitmap bitmap;
    for (auto _ : state) {
        bitmap.Compute(shape, width, height, look);
        benchmark::DoNotOptimize(bitmap.Pixels().data());
    }
}
// The main window, a dialog, and a window filling a large screen.
BENCHMARK(ComputeShadow)->Args({600, 400})->Args({360, 180})->Args({1920, 1040})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
