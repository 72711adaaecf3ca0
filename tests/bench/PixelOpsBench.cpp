// The editor's heavier pixel operations on a full-HD picture: a blend of a whole layer, a
// colour-table effect, noise, a quarter turn, a nearest-neighbour resize and a flood fill
// of the whole picture.
#include <benchmark/benchmark.h>

#include "core/Bitmap32Ops.h"
#include "core/EffectLib.h"

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

void BlendFullHd(benchmark::State& state) {
    const TBitmap32 layer = FullHdPicture();
    TBitmap32 image(1920, 1080, 0xFFFFFFFFu);
    for (auto _ : state) {
        Draw(image, 0, 0, layer, TDrawMode::dmBlend, 128);
        benchmark::DoNotOptimize(image.Bits());
    }
}

void BrightnessFullHd(benchmark::State& state) {
    const TBitmap32 src = FullHdPicture();
    TBitmap32 dst = src;
    for (auto _ : state) {
        EffectBrightness(dst, src, 0.25);
        benchmark::DoNotOptimize(dst.Bits());
    }
}

void NoiseFullHd(benchmark::State& state) {
    const TBitmap32 src = FullHdPicture();
    TBitmap32 dst;
    TStdRandomSource random(1);
    for (auto _ : state) {
        EffectNoise(dst, src, 100, random);
        benchmark::DoNotOptimize(dst.Bits());
    }
}

void Rotate90FullHd(benchmark::State& state) {
    TBitmap32 image = FullHdPicture();
    for (auto _ : state) {
        Rotate90(image);
        benchmark::DoNotOptimize(image.Bits());
    }
}

void ResampleFullHdToHalf(benchmark::State& state) {
    const TBitmap32 image = FullHdPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(ResampleNearest(image, 960, 540));
}

void FloodFillFullHd(benchmark::State& state) {
    TBitmap32 image(1920, 1080, 0xFFFFFFFFu);
    TColor32 colour = 0xFF000000u;
    for (auto _ : state) {
        colour ^= 0x00FFFFFFu; // alternate, so every round fills the whole picture
        benchmark::DoNotOptimize(FloodFill(image, 960, 540, colour));
    }
}

} // namespace

BENCHMARK(BlendFullHd);
BENCHMARK(BrightnessFullHd);
BENCHMARK(NoiseFullHd);
BENCHMARK(Rotate90FullHd);
BENCHMARK(ResampleFullHdToHalf);
BENCHMARK(FloodFillFullHd);
