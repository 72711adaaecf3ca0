// The scrolling page capture against a page whose sizes, frames, scroll answers and grabs
// all come from the input: another process's page may answer anything, or stop answering.
#include <climits>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <vector>

#include "FuzzText.h"
#include "core/PageStitcher.h"

namespace {

// Answers to each question in turn; once the input is spent every question goes unanswered.
class TAnswers {
public:
    TAnswers(const std::uint8_t* data, std::size_t size) : input_(data, size) {}

    std::optional<int> Number() {
        if (input_.remaining_bytes() == 0)
            return std::nullopt;
        switch (input_.ConsumeIntegralInRange(0, 7)) {
        case 0:
            return std::nullopt;
        case 1:
            return INT_MIN;
        case 2:
            return INT_MAX;
        case 3:
            return input_.ConsumeIntegral<int>();
        default:
            return input_.ConsumeIntegralInRange(-4, 300);
        }
    }
    bool Yes() { return input_.remaining_bytes() > 0 && input_.ConsumeBool(); }
    std::uint8_t Byte() { return input_.ConsumeIntegral<std::uint8_t>(); }
    int Grabs = 0;

private:
    FuzzedDataProvider input_;
};

class TElement : public IScrollElement {
public:
    explicit TElement(TAnswers& answers) : answers_(answers) {}
    std::optional<int> ClientWidth() override { return answers_.Number(); }
    std::optional<int> ClientHeight() override { return answers_.Number(); }
    std::optional<int> ScrollHeight() override { return answers_.Number(); }
    std::optional<int> ScrollTop() override { return answers_.Number(); }
    bool SetScrollTop(int) override { return answers_.Yes(); }

private:
    TAnswers& answers_;
};

class TPage : public IWebPage {
public:
    TPage(TAnswers& answers, TSize window) : answers_(answers), window_(window) {}
    std::unique_ptr<IScrollElement> Body() override {
        return answers_.Yes() ? std::make_unique<TElement>(answers_) : nullptr;
    }
    std::optional<int> FrameCount() override { return answers_.Number(); }
    std::unique_ptr<IScrollElement> FrameBody(int) override { return Body(); }
    std::optional<TSize> WindowSize() override { return window_; }
    bool Grab(int top, int width, int height, TGrabbedRows& rows) override {
        // The rows asked for lie inside the window the page reported.
        FUZZ_CHECK(top >= 0 && width > 0 && width <= window_.Width && height > 0);
        FUZZ_CHECK(std::int64_t{top} + height <= window_.Height);
        ++answers_.Grabs;
        // Lent until the next grab, in rows a little longer than asked, as a screen's are.
        const int stride = width + 3;
        screen_.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height),
                       Color32(answers_.Byte(), 0, 0, 0));
        rows.First = screen_.data();
        rows.Stride = stride;
        return answers_.Yes();
    }
    void Pause(int delayMs, bool) override { FUZZ_CHECK(delayMs >= 0 && delayMs <= kMaxScrollDelay); }

private:
    TAnswers& answers_;
    TSize window_;
    std::vector<TColor32> screen_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    // A small window keeps each grab cheap; everything the page says is unbounded.
    const TSize window{data[0] % 64 - 2, data[1] % 64 - 2};
    const int delay = static_cast<int>(data[2]) * 1000 - 20000;
    TAnswers answers(data + 3, size - 3);
    TPage page(answers, window);
    const std::optional<TBitmap32> picture = StitchWebPage(page, delay);
    if (!picture)
        return 0;
    FUZZ_CHECK(answers.Grabs > 0);
    FUZZ_CHECK(picture->Width() > 0 && picture->Width() <= window.Width && picture->Height() > 0);
    const std::size_t count =
        static_cast<std::size_t>(picture->Width()) * static_cast<std::size_t>(picture->Height());
    for (std::size_t i = 0; i < count; ++i)
        FUZZ_CHECK(picture->Bits()[i] >> 24 == 255);
    return 0;
}
