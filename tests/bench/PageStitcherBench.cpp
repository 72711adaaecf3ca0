// Joining a long web page: a 1024-pixel-wide view of 900 rows scrolled through a page of
// 12,000 rows, every view copied from a painted page in memory.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>

#include "core/PageStitcher.h"

namespace {
constexpr int kWidth = 1024;
constexpr int kView = 900;
constexpr int kPageRows = 12000;

class TMemoryElement : public IScrollElement {
public:
    explicit TMemoryElement(int& top) : top_(top) {}
    std::optional<int> ClientWidth() override { return kWidth; }
    std::optional<int> ClientHeight() override { return kView; }
    std::optional<int> ScrollHeight() override { return kPageRows; }
    std::optional<int> ScrollTop() override { return top_; }
    bool SetScrollTop(int value) override {
        top_ = std::clamp(value, 0, kPageRows - kView);
        return true;
    }

private:
    int& top_;
};

class TMemoryPage : public IWebPage {
public:
    explicit TMemoryPage(const TBitmap32& content) : content_(content) {}
    std::unique_ptr<IScrollElement> Body() override { return std::make_unique<TMemoryElement>(top_); }
    std::optional<int> FrameCount() override { return 0; }
    std::unique_ptr<IScrollElement> FrameBody(int) override { return nullptr; }
    std::optional<TSize> WindowSize() override { return TSize{kWidth, kView}; }
    bool Grab(int top, TBitmap32& tile) override {
        const auto rowBytes = static_cast<std::size_t>(tile.Width()) * sizeof(TColor32);
        for (int y = 0; y < tile.Height(); ++y)
            std::memcpy(tile.ScanLine(y), content_.ScanLine(top_ + top + y), rowBytes);
        return true;
    }
    void Pause(int, bool) override {}

private:
    const TBitmap32& content_;
    int top_ = 0;
};

void JoinLongPage(benchmark::State& state) {
    TBitmap32 content(kWidth, kPageRows);
    for (int y = 0; y < kPageRows; ++y)
        std::fill_n(content.ScanLine(y), kWidth, static_cast<TColor32>(y));
    for (auto _ : state) {
        TMemoryPage page(content);
        auto picture = StitchWebPage(page, 0);
        benchmark::DoNotOptimize(picture);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kWidth} * kPageRows * 4);
}
BENCHMARK(JoinLongPage)->Unit(benchmark::kMillisecond);
} // namespace
