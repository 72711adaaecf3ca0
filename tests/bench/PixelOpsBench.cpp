// The editor's pixel operations under Google Benchmark: the shared cases (full-HD effects,
// blends, turns, flood fill, the page join, the view composition), each beside a memcpy of
// its yardstick buffer, and a nearest-neighbour resize.
#include <benchmark/benchmark.h>

#include "PixelBenchCases.h"

namespace {

pixel_bench::TData& Data() {
    static pixel_bench::TData data;
    return data;
}

void ResampleFullHdToHalf(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ResampleNearest(Data().Frame, 960, 540));
}
BENCHMARK(ResampleFullHdToHalf);

// Registers every shared case and its memcpy yardstick before the benchmarks run.
const bool kRegistered = [] {
    static const std::vector<pixel_bench::TCase> cases = pixel_bench::Cases(Data());
    for (const pixel_bench::TCase& c : cases) {
        benchmark::RegisterBenchmark(c.Name.c_str(), [&c](benchmark::State& state) {
            for (auto _ : state) {
                if (c.Prepare) {
                    state.PauseTiming();
                    c.Prepare();
                    state.ResumeTiming();
                }
                c.Run();
            }
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("memcpy for " + c.Name).c_str(), [&c](benchmark::State& state) {
            std::vector<TColor32> from(c.BaselineBytes / sizeof(TColor32), 1), to(from.size());
            for (auto _ : state) {
                std::memcpy(to.data(), from.data(), c.BaselineBytes);
                benchmark::DoNotOptimize(to.data());
            }
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
