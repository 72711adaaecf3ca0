// Encoding and decoding a full-HD picture, the size of a typical screen capture or undo
// state.
#include <benchmark/benchmark.h>
#include <string>

#include "core/BmpCodec.h"

namespace {

TBitmap32 FullHdPicture() {
    TBitmap32 picture(1920, 1080);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y,
                             Color32(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                     static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(x ^ y)));
    return picture;
}

void EncodeBmp24FullHd(benchmark::State& state) {
    const TBitmap32 picture = FullHdPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBmp24(picture));
}

void EncodeBmp32FullHd(benchmark::State& state) {
    const TBitmap32 picture = FullHdPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBmp32(picture));
}

void DecodeBmpFullHd(benchmark::State& state, bool alpha) {
    const auto file = alpha ? EncodeBmp32(FullHdPicture()) : EncodeBmp24(FullHdPicture());
    TBitmap32 out;
    std::string error;
    for (auto _ : state) {
        if (!DecodeBmp(file, out, error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(out.Bits());
    }
}

void DecodeBmp24FullHd(benchmark::State& state) {
    DecodeBmpFullHd(state, false);
}
void DecodeBmp32FullHd(benchmark::State& state) {
    DecodeBmpFullHd(state, true);
}

} // namespace

BENCHMARK(EncodeBmp24FullHd)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeBmp32FullHd)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeBmp24FullHd)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeBmp32FullHd)->Unit(benchmark::kMillisecond);
