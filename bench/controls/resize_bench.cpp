// The picture panel's smooth resize: the bundled card's picture made to fit
// the panel at 100 % and 200 %, a reduced photo shrunk into it, and a small
// picture enlarged (a panel on a screen of scale 2).
//
//   controls_bench
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "controls/smooth_resize.h"

namespace ovlet::controls {
namespace {

void BM_SmoothResize(benchmark::State& state) {
    const auto sourceWidth = static_cast<int>(state.range(0));
    const auto sourceHeight = static_cast<int>(state.range(1));
    const auto targetWidth = static_cast<int>(state.range(2));
    const auto targetHeight = static_cast<int>(state.range(3));
    std::vector<std::uint32_t> source(static_cast<std::size_t>(sourceWidth) * static_cast<std::size_t>(sourceHeight));
    std::uint32_t seed = 12345;
    for (std::uint32_t& pixel : source) pixel = seed = seed * 1664525u + 1013904223u;
    std::vector<std::uint32_t> target(static_cast<std::size_t>(targetWidth) * static_cast<std::size_t>(targetHeight));
    for (auto _ : state) {
        SmoothResize({source.data(), sourceWidth, sourceWidth, sourceHeight},
                     {target.data(), targetWidth, targetWidth, targetHeight});
        benchmark::DoNotOptimize(target.data());
    }
}
BENCHMARK(BM_SmoothResize)
    ->ArgNames({"from_w", "from_h", "to_w", "to_h"})
    ->Args({320, 200, 297, 186})
    ->Args({320, 200, 594, 372})
    ->Args({500, 375, 297, 223})
    ->Args({1000, 750, 594, 446})
    ->Args({160, 100, 297, 186})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ovlet::controls
