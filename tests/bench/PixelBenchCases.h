#pragma once
// The pixel operations measured against memory speed: each case names its work, the
// buffer whose copy it is compared with, and the largest ratio to that copy it should take.
// Shared by the Google Benchmark program and the table printer (native and Windows).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Bitmap32Ops.h"
#include "core/EffectLib.h"
#include "core/ImgViewPaint.h"
#include "core/PageStitcher.h"
#include "core/PixelRows.h"

namespace pixel_bench {

struct TCase {
    std::string Name;
    // The size of the buffer whose memcpy is the yardstick.
    std::size_t BaselineBytes = 0;
    // The largest ratio to that memcpy the operation should take; 0 when there is none.
    double Goal = 0;
    // Untimed, before every timed run (may be empty).
    std::function<void()> Prepare;
    std::function<void()> Run;
};

constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;
constexpr std::size_t kFrameBytes = std::size_t{kFrameWidth} * kFrameHeight * sizeof(TColor32);

// A picture with every channel varying, alpha included.
inline TBitmap32 TestPicture(int width, int height) {
    TBitmap32 picture(width, height);
    for (int y = 0; y < height; ++y) {
        TColor32* row = picture.ScanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = Color32(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                             static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(x ^ y));
    }
    return picture;
}

// A long web page in memory, scrolled by a 1024 x 900 view.
class TMemoryPage final : public IWebPage {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kView = 900;
    static constexpr int kRows = 12000;
    explicit TMemoryPage(const TBitmap32& content) : content_(content) {}
    std::unique_ptr<IScrollElement> Body() override { return std::make_unique<TElement>(top_); }
    std::optional<int> FrameCount() override { return 0; }
    std::unique_ptr<IScrollElement> FrameBody(int) override { return nullptr; }
    std::optional<TSize> WindowSize() override { return TSize{kWidth, kView}; }
    // The page's rows are lent as they are, as the window's grab lends its screen bitmap.
    bool Grab(int top, int, int, TGrabbedRows& rows) override {
        rows = {content_.ScanLine(top_ + top), content_.Width()};
        return true;
    }
    void Pause(int, bool) override {}

private:
    class TElement final : public IScrollElement {
    public:
        explicit TElement(int& top) : top_(top) {}
        std::optional<int> ClientWidth() override { return kWidth; }
        std::optional<int> ClientHeight() override { return kView; }
        std::optional<int> ScrollHeight() override { return kRows; }
        std::optional<int> ScrollTop() override { return top_; }
        bool SetScrollTop(int value) override {
            top_ = std::clamp(value, 0, kRows - kView);
            return true;
        }

    private:
        int& top_;
    };
    const TBitmap32& content_;
    int top_ = 0;
};

// The document view: a 1600 x 1000 view over a 7680 x 4320 picture at a zoom, centred on
// the picture's middle, with a 1024 x 768 floating selection over part of the view.
struct TViewScene {
    static constexpr int kViewWidth = 1600;
    static constexpr int kViewHeight = 1000;
    TBitmap32 Document = TestPicture(7680, 4320);
    TBitmap32 Selection = TestPicture(1024, 768);
    TBitmap32 Buffer = TBitmap32(kViewWidth, kViewHeight);

    // A screenshot is opaque; the selection keeps its varying alpha.
    TViewScene() { Document.ResetAlpha(); }

    void Compose(double scale) {
        // The picture's middle at the view's middle; the checkerboard only where it is not.
        const double ox = kViewWidth / 2.0 - Document.Width() / 2.0 * scale;
        const double oy = kViewHeight / 2.0 - Document.Height() / 2.0 * scale;
        PaintCheckerboard(Buffer, NearestCoverage(kViewWidth, kViewHeight, Document.Width(),
                                                  Document.Height(), ox, oy, scale, scale));
        DrawNearest(Buffer, Document, ox, oy, scale, scale, TDrawMode::dmOpaque);
        // The selection starts 40 x 30 picture pixels up and left of the middle.
        const double sx = ox + (Document.Width() / 2.0 - 40) * scale;
        const double sy = oy + (Document.Height() / 2.0 - 30) * scale;
        DrawNearest(Buffer, Selection, sx, sy, scale, scale, TDrawMode::dmBlend, 160);
    }
};

// Everything the cases work on, made once.
struct TData {
    TBitmap32 Frame = TestPicture(kFrameWidth, kFrameHeight);
    TBitmap32 Work = Frame;
    TBitmap32 Opaque = TBitmap32(kFrameWidth, kFrameHeight, 0xFFFFFFFFu);
    TBitmap32 Uniform = TBitmap32(kFrameWidth, kFrameHeight, 0xFFFFFFFFu);
    TBitmap32 Narrow; // channels within 10..200, for auto contrast
    TBitmap32 Page;
    TStdRandomSource Random{1};
    // Toggled before every fill, so that each fill covers the whole frame again.
    TColor32 FillColour = 0xFFFFFFFFu;
    std::unique_ptr<TViewScene> Scene;

    TData() {
        Narrow = Frame;
        for (int y = 0; y < Narrow.Height(); ++y)
            for (int x = 0; x < Narrow.Width(); ++x) {
                const TColor32 c = Narrow.Pixel(x, y);
                auto squeeze = [](std::uint8_t v) { return static_cast<std::uint8_t>(10 + v * 190 / 255); };
                Narrow.SetPixel(x, y,
                                Color32(squeeze(RedComponent(c)), squeeze(GreenComponent(c)),
                                        squeeze(BlueComponent(c)), AlphaComponent(c)));
            }
        Page = TBitmap32(TMemoryPage::kWidth, TMemoryPage::kRows);
        for (int y = 0; y < Page.Height(); ++y)
            std::fill_n(Page.ScanLine(y), Page.Width(), static_cast<TColor32>(y));
    }
};

inline std::vector<TCase> Cases(TData& d) {
    std::vector<TCase> cases;
    auto add = [&](std::string name, std::size_t bytes, double goal, std::function<void()> run,
                   std::function<void()> prepare = {}) {
        cases.push_back({std::move(name), bytes, goal, std::move(prepare), std::move(run)});
    };
    add("blend with master alpha", kFrameBytes, 3,
        [&d] { Draw(d.Opaque, 0, 0, d.Frame, TDrawMode::dmBlend, 128); });
    // The same on a processor without 256-bit registers.
    add("(blend, 128-bit registers only)", kFrameBytes, 0, [&d] {
        pixel_rows::AllowWideVectors(false);
        Draw(d.Opaque, 0, 0, d.Frame, TDrawMode::dmBlend, 128);
        pixel_rows::AllowWideVectors(true);
    });
    add("brightness", kFrameBytes, 3, [&d] { EffectBrightness(d.Work, d.Frame, 0.25); });
    add("contrast", kFrameBytes, 3, [&d] { EffectContrast(d.Work, d.Frame, 0.3); });
    add("gamma", kFrameBytes, 3, [&d] { EffectGamma(d.Work, d.Frame, 1.5); });
    add("grayscale", kFrameBytes, 3, [&d] { ColorToGrayscale(d.Work); });
    add("invert", kFrameBytes, 3, [&d] { Invert(d.Work); });
    add(
        "auto contrast", kFrameBytes, 4, [&d] { EffectAutoContrast(d.Work); },
        [&d] { std::memcpy(d.Work.Bits(), d.Narrow.Bits(), kFrameBytes); });
    add("mosaic 5", kFrameBytes, 5, [&d] { EffectMosaic(d.Work, d.Frame, 5); });
    add("noise 100", kFrameBytes, 5, [&d] { EffectNoise(d.Work, d.Frame, 100, d.Random); });
    add("rotate 90", kFrameBytes, 4, [&d] { Rotate90(d.Work); });
    add("rotate 270", kFrameBytes, 4, [&d] { Rotate270(d.Work); });
    // The floor of an operation that makes a new frame (the quarter turns): fresh memory.
    add("(new frame-sized buffer + memcpy)", kFrameBytes, 0, [&d] {
        TBitmap32 fresh;
        fresh.SetSizeForOverwrite(kFrameWidth, kFrameHeight);
        std::memcpy(fresh.Bits(), d.Frame.Bits(), kFrameBytes);
    });
    add("flip horizontal", kFrameBytes, 4, [&d] { FlipHorz(d.Work); });
    add("flip vertical", kFrameBytes, 4, [&d] { FlipVert(d.Work); });
    add(
        "flood fill of a uniform frame", kFrameBytes, 4,
        [&d] {
            if (FloodFill(d.Uniform, kFrameWidth / 2, kFrameHeight / 2, d.FillColour) !=
                std::int64_t{kFrameWidth} * kFrameHeight)
                throw std::runtime_error("flood fill missed pixels");
        },
        [&d] { d.FillColour ^= 0x00FFFFFFu; });
    add("join a long page (1024 x 12000)",
        std::size_t{TMemoryPage::kWidth} * TMemoryPage::kRows * sizeof(TColor32), 2, [&d] {
            TMemoryPage page(d.Page);
            auto picture = StitchWebPage(page, 0);
            if (!picture || picture->Height() != TMemoryPage::kRows)
                throw std::runtime_error("page join lost rows");
        });
    // Any picture made anew pays for fresh memory first; this is that floor for the page.
    add("(new page-sized buffer + memcpy)",
        std::size_t{TMemoryPage::kWidth} * TMemoryPage::kRows * sizeof(TColor32), 0, [&d] {
            TBitmap32 fresh;
            fresh.SetSizeForOverwrite(d.Page.Width(), d.Page.Height());
            std::memcpy(fresh.Bits(), d.Page.Bits(),
                        std::size_t{TMemoryPage::kWidth} * TMemoryPage::kRows * 4);
        });
    // Of that floor, the first write to each fresh 4 KB page alone: what the system takes to
    // hand out the page.
    add("(new page-sized buffer, 1st touch)",
        std::size_t{TMemoryPage::kWidth} * TMemoryPage::kRows * sizeof(TColor32), 0, [&d] {
            TBitmap32 fresh;
            fresh.SetSizeForOverwrite(d.Page.Width(), d.Page.Height());
            // Written through volatile, so that the writes to memory freed at once stay.
            volatile TColor32* bits = fresh.Bits();
            for (std::size_t i = 0; i < std::size_t{TMemoryPage::kWidth} * TMemoryPage::kRows; i += 1024)
                bits[i] = 0;
        });
    const std::size_t viewBytes =
        std::size_t{TViewScene::kViewWidth} * TViewScene::kViewHeight * sizeof(TColor32);
    for (const int percent : {25, 100, 1000})
        add(
            "view composition at " + std::to_string(percent) + " %", viewBytes, 4,
            [&d, percent] { d.Scene->Compose(percent / 100.0); },
            [&d] {
                if (!d.Scene)
                    d.Scene = std::make_unique<TViewScene>();
            });
    return cases;
}

} // namespace pixel_bench
