#include "core/PageStitcher.h"

#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {
// Pixel codes of the fake page: content row r, column x is (r << 6) | x; row y of the top
// strip above a frame is 0x800000 | (y << 6) | x. The fake paints them with alpha 1; the
// capture must come out opaque.
constexpr TColor32 kOpaque = 0xFF000000u;
constexpr TColor32 ContentCode(int row, int x) {
    return static_cast<TColor32>(row) << 6 | static_cast<TColor32>(x);
}
constexpr TColor32 StripCode(int row, int x) {
    return 0x800000u | ContentCode(row, x);
}

struct TElementState {
    int ClientWidth = 4;
    int ClientHeight = 100;
    int ScrollHeight = 100;
    int ScrollTop = 0;
    int Overshoot = 0;         // rows the body scrolls beyond what is asked
    bool Unreadable = false;   // every read fails
    int ScrollTopReads = -1;   // reads of the position that succeed before they fail; -1: all
    bool RefuseScroll = false; // scroll requests fail
};

class TFakeElement : public IScrollElement {
public:
    explicit TFakeElement(TElementState& state) : s_(state) {}
    std::optional<int> ClientWidth() override { return Read(s_.ClientWidth); }
    std::optional<int> ClientHeight() override { return Read(s_.ClientHeight); }
    std::optional<int> ScrollHeight() override { return Read(s_.ScrollHeight); }
    std::optional<int> ScrollTop() override {
        if (s_.ScrollTopReads == 0)
            return std::nullopt;
        if (s_.ScrollTopReads > 0)
            --s_.ScrollTopReads;
        return Read(s_.ScrollTop);
    }
    bool SetScrollTop(int value) override {
        if (s_.RefuseScroll)
            return false;
        // The browser keeps the position within the scrollable range.
        s_.ScrollTop = std::clamp(value + s_.Overshoot, 0, std::max(0, s_.ScrollHeight - s_.ClientHeight));
        return true;
    }

private:
    std::optional<int> Read(int v) const { return s_.Unreadable ? std::nullopt : std::optional<int>(v); }
    TElementState& s_;
};

// A view window showing either the page body from its scroll position, or a strip of
// StripRows rows above the frame Shown, which shows from its own scroll position.
class TFakePage : public IWebPage {
public:
    TSize Window{4, 100};
    TElementState Page;
    std::vector<TElementState> Frames;
    int Shown = -1;
    int StripRows = 0;
    bool NoBody = false;
    bool NoFrameCount = false;
    std::vector<int> FrameReaches; // per frame: times it can be reached; -1 always
    int GrabsLeft = -1;
    int Grabs = 0;
    int GrabbedRows = 0;
    bool GrabbedOutside = false;
    std::vector<std::pair<int, bool>> Pauses;
    std::function<void(TFakePage&)> OnPause;

    std::unique_ptr<IScrollElement> Body() override {
        return NoBody ? nullptr : std::make_unique<TFakeElement>(Page);
    }
    std::optional<int> FrameCount() override {
        return NoFrameCount ? std::nullopt : std::optional<int>(static_cast<int>(Frames.size()));
    }
    std::unique_ptr<IScrollElement> FrameBody(int index) override {
        const auto i = static_cast<std::size_t>(index);
        if (i < FrameReaches.size() && FrameReaches[i] >= 0 && FrameReaches[i]-- == 0)
            return nullptr;
        return std::make_unique<TFakeElement>(Frames.at(i));
    }
    std::optional<TSize> WindowSize() override { return Window; }
    bool Grab(int top, int width, int height, TGrabbedRows& rows) override {
        // A fault in the stitcher must fail the test, not run it forever.
        if (GrabsLeft == 0 || ++Grabs > 100000)
            return false;
        if (GrabsLeft > 0)
            --GrabsLeft;
        if (width > Window.Width || top < 0 || top + height > Window.Height)
            GrabbedOutside = true;
        GrabbedRows += height;
        // Rows a little longer than asked, as screen bitmaps pad theirs.
        const int stride = width + 3;
        screen_.assign(static_cast<std::size_t>(stride * std::max(height, 0)), 0xDEADBEEFu);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                screen_[static_cast<std::size_t>(y * stride + x)] = 0x01000000u | WindowPixel(x, top + y);
        rows = {screen_.data(), stride};
        return true;
    }
    void Pause(int delayMs, bool handleMessages) override {
        Pauses.emplace_back(delayMs, handleMessages);
        if (OnPause)
            OnPause(*this);
    }

private:
    std::vector<TColor32> screen_;
    TColor32 WindowPixel(int x, int y) const {
        if (Shown < 0)
            return ContentCode(Page.ScrollTop + y, x);
        if (y < StripRows)
            return StripCode(y, x);
        return ContentCode(Frames.at(static_cast<std::size_t>(Shown)).ScrollTop + y - StripRows, x);
    }
};

// Whether picture rows [at, at + count) hold content (or strip) rows from firstRow on.
::testing::AssertionResult HasRows(const TBitmap32& picture, int at, int count, int firstRow,
                                   bool strip = false) {
    if (at + count > picture.Height())
        return ::testing::AssertionFailure() << "picture has only " << picture.Height() << " rows";
    for (int y = 0; y < count; ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor32 want =
                kOpaque | (strip ? StripCode(firstRow + y, x) : ContentCode(firstRow + y, x));
            if (picture.Pixel(x, at + y) != want)
                return ::testing::AssertionFailure()
                       << "row " << at + y << " column " << x << " is " << std::hex
                       << picture.Pixel(x, at + y) << ", expected " << want;
        }
    return ::testing::AssertionSuccess();
}

TFakePage ScrollingPage(int scrollHeight, int scrollTop = 0) {
    TFakePage page;
    page.Page.ScrollHeight = scrollHeight;
    page.Page.ScrollTop = scrollTop;
    return page;
}

// A page that does not scroll, its view split into a strip over frames of 70 rows.
TFakePage FramedPage() {
    TFakePage page;
    page.StripRows = 30;
    page.Shown = 0;
    return page;
}
TElementState Frame(int clientHeight, int scrollHeight) {
    TElementState f;
    f.ClientHeight = clientHeight;
    f.ScrollHeight = scrollHeight;
    return f;
}
} // namespace

TEST(PageStitcher, PageFromTheTopIsJoinedRowByRowWithoutTheOverlap) {
    // View 100 rows, steps of 98: views at 0, 98 and 150 (the end), then a step of 0.
    TFakePage page = ScrollingPage(250);
    const auto picture = StitchWebPage(page, 100);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 4);
    EXPECT_EQ(picture->Height(), 250);
    EXPECT_TRUE(HasRows(*picture, 0, 250, 0));
    EXPECT_EQ(page.Grabs, 3);
    EXPECT_EQ(page.GrabbedRows, 250); // each row copied once, the overlap not again
    EXPECT_FALSE(page.GrabbedOutside);
    EXPECT_EQ(page.Page.ScrollTop, 150); // left at its end
    EXPECT_EQ(page.Pauses, (std::vector<std::pair<int, bool>>(3, {100, true})));
}

TEST(PageStitcher, PageOneStepLongerThanItsViewTakesTwoViews) {
    TFakePage page = ScrollingPage(198);
    const auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 198);
    EXPECT_TRUE(HasRows(*picture, 0, 198, 0));
    EXPECT_EQ(page.Grabs, 2);
    EXPECT_EQ(page.Pauses.front().first, 0);
}

TEST(PageStitcher, PageStartedHalfWayIsCapturedFromThereToItsEnd) {
    TFakePage page = ScrollingPage(250, 75);
    const auto picture = StitchWebPage(page, 100);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 175); // the view plus the 75 rows scrolled
    EXPECT_TRUE(HasRows(*picture, 0, 175, 75));
}

TEST(PageStitcher, PageAlreadyAtItsEndGivesTheVisibleView) {
    TFakePage page = ScrollingPage(250, 150);
    const auto picture = StitchWebPage(page, 100);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 100);
    EXPECT_TRUE(HasRows(*picture, 0, 100, 150));
    EXPECT_EQ(page.Grabs, 1);
    EXPECT_EQ(page.Pauses.size(), 1u); // the step that moved nothing pauses too
}

TEST(PageStitcher, PageShorterThanItsViewWithoutFramesGivesTheSingleView) {
    TFakePage page = ScrollingPage(80);
    const auto picture = StitchWebPage(page, 100);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 4);
    EXPECT_EQ(picture->Height(), 100);
    EXPECT_TRUE(HasRows(*picture, 0, 100, 0));
    EXPECT_TRUE(page.Pauses.empty());
}

TEST(PageStitcher, ScrollingFrameIsJoinedUnderTheStripAboveIt) {
    TFakePage page = FramedPage();
    page.Frames = {Frame(70, 300), Frame(30, 30)};
    const auto picture = StitchWebPage(page, 40);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 30 + 300);
    EXPECT_TRUE(HasRows(*picture, 0, 30, 0, true));
    EXPECT_TRUE(HasRows(*picture, 30, 300, 0));
    EXPECT_EQ(page.Frames[0].ScrollTop, 230);
    EXPECT_FALSE(page.GrabbedOutside);
    // The frame path handles no messages between its steps.
    for (const auto& pause : page.Pauses)
        EXPECT_EQ(pause, (std::pair<int, bool>{40, false}));
}

TEST(PageStitcher, FrameWithTheLargestExtentWinsTheFirstAmongEqualsHiddenOnesNever) {
    TFakePage page = FramedPage();
    page.Shown = 2;
    // Extents 130, 0, 230, 230 (second of the equal ones), and a hidden frame with 4930.
    page.Frames = {Frame(70, 200), Frame(70, 70), Frame(70, 300), Frame(70, 300), Frame(0, 5000)};
    auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 330);
    EXPECT_TRUE(HasRows(*picture, 30, 300, 0));
    EXPECT_EQ(page.Frames[0].ScrollTop, 0);
    EXPECT_EQ(page.Frames[2].ScrollTop, 230);
    EXPECT_EQ(page.Frames[3].ScrollTop, 0);
    EXPECT_EQ(page.Frames[4].ScrollTop, 0);

    // An unreadable frame is skipped; the next best is taken.
    page = FramedPage();
    page.Frames = {Frame(70, 200), Frame(70, 300)};
    page.Frames[1].Unreadable = true;
    picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 30 + 200);
}

TEST(PageStitcher, OnlyHiddenOrStillFramesGiveTheSingleView) {
    TFakePage page = FramedPage();
    page.Frames = {Frame(0, 5000), Frame(70, 70)};
    const auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 100);
    EXPECT_TRUE(HasRows(*picture, 0, 30, 0, true));
    EXPECT_EQ(page.Grabs, 1);
}

TEST(PageStitcher, FrameFillingTheWholeViewHasNoStripAndIsCapturedNormally) {
    TFakePage page = FramedPage();
    page.StripRows = 0;
    page.Frames = {Frame(100, 250)};
    const auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 250);
    EXPECT_TRUE(HasRows(*picture, 0, 250, 0));
}

TEST(PageStitcher, FrameTallerThanTheViewOrNoPositiveSizeFails) {
    TFakePage page = FramedPage();
    page.Frames = {Frame(120, 300)}; // a strip of -20 rows
    EXPECT_FALSE(StitchWebPage(page, 0));

    page = ScrollingPage(250);
    page.Page.ClientWidth = 0;
    EXPECT_FALSE(StitchWebPage(page, 0));
    page = ScrollingPage(250);
    page.Page.ClientHeight = -5;
    EXPECT_FALSE(StitchWebPage(page, 0));
    // The single view of an empty body is no picture either.
    page = ScrollingPage(0);
    page.Page.ClientHeight = 0;
    EXPECT_FALSE(StitchWebPage(page, 0));
    EXPECT_EQ(page.Grabs, 0);
}

TEST(PageStitcher, ViewLargerThanItsWindowIsClampedToTheWindow) {
    TFakePage page = ScrollingPage(250);
    page.Window = {3, 60};
    auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_FALSE(page.GrabbedOutside);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 210); // views of 60 rows from 0 to the end at 150
    EXPECT_TRUE(HasRows(*picture, 0, 210, 0));

    page = FramedPage();
    page.Window = {4, 80};
    page.Frames = {Frame(70, 300)};
    picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_FALSE(page.GrabbedOutside);
    EXPECT_TRUE(HasRows(*picture, 0, 30, 0, true));
    // 50 of the frame's 70 rows fit the window: steps of 48 from 0 to its end at 230.
    EXPECT_EQ(picture->Height(), 30 + 280);
    EXPECT_TRUE(HasRows(*picture, 30, 280, 0));
}

TEST(PageStitcher, StepThatMovesNothingOrBackEndsAndRowsStayInOrder) {
    // Scroll requests that fail: the first view alone.
    TFakePage page = ScrollingPage(400);
    page.Page.RefuseScroll = true;
    auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 100);

    // The user scrolls back to the top during the second pause: the capture ends.
    page = ScrollingPage(400);
    page.OnPause = [](TFakePage& p) {
        if (p.Pauses.size() == 2)
            p.Page.ScrollTop = 0;
    };
    picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 198);
    EXPECT_TRUE(HasRows(*picture, 0, 198, 0));

    // Back by only 50 rows: the next view still adds rows past the last joined one.
    page = ScrollingPage(400);
    page.OnPause = [](TFakePage& p) {
        if (p.Pauses.size() == 2)
            p.Page.ScrollTop -= 50;
    };
    picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 400);
    EXPECT_TRUE(HasRows(*picture, 0, 400, 0));
}

TEST(PageStitcher, StepLongerThanTheViewNeverJoinsMoreRowsThanTheViewHolds) {
    TFakePage page = ScrollingPage(250);
    page.Page.Overshoot = 50; // the first step lands at 148, past the view's 100 rows
    const auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 202);
    EXPECT_TRUE(HasRows(*picture, 0, 100, 0));
    EXPECT_TRUE(HasRows(*picture, 100, 102, 148));
    EXPECT_EQ(page.GrabbedRows, 202);
}

TEST(PageStitcher, FailureInsideTheLoopKeepsTheRowsJoinedSoFar) {
    TFakePage page = ScrollingPage(400);
    page.GrabsLeft = 2;
    auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 198);
    EXPECT_TRUE(HasRows(*picture, 0, 198, 0));

    page = ScrollingPage(400);
    page.Page.ScrollTopReads = 2; // the start and after the first step
    picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 198);

    page = FramedPage();
    page.Frames = {Frame(70, 300)};
    page.GrabsLeft = 3; // the strip and two frame views
    picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), 30 + 70 + 68);
}

TEST(PageStitcher, NothingReachedOrNothingCopiedIsAFailure) {
    TFakePage page = ScrollingPage(400);
    page.GrabsLeft = 0;
    EXPECT_FALSE(StitchWebPage(page, 0));

    page = ScrollingPage(400);
    page.NoBody = true;
    EXPECT_FALSE(StitchWebPage(page, 0));

    page = ScrollingPage(400);
    page.Page.Unreadable = true;
    EXPECT_FALSE(StitchWebPage(page, 0));

    page = FramedPage();
    page.NoFrameCount = true;
    EXPECT_FALSE(StitchWebPage(page, 0));

    // The chosen frame cannot be reached again when its capture starts.
    page = FramedPage();
    page.Frames = {Frame(70, 300)};
    page.FrameReaches = {1};
    EXPECT_FALSE(StitchWebPage(page, 0));

    // The strip could be copied but the frame's first view not.
    page = FramedPage();
    page.Frames = {Frame(70, 300)};
    page.GrabsLeft = 1;
    EXPECT_FALSE(StitchWebPage(page, 0));
}

TEST(PageStitcher, ScrollDelayIsBroughtIntoItsRange) {
    for (const auto& [stored, used] : {std::pair{-5, 0}, std::pair{0, 0}, std::pair{100, 100},
                                       std::pair{65535, 65535}, std::pair{100000, 65535}}) {
        TFakePage page = ScrollingPage(150);
        ASSERT_TRUE(StitchWebPage(page, stored));
        ASSERT_FALSE(page.Pauses.empty());
        for (const auto& pause : page.Pauses)
            EXPECT_EQ(pause.first, used) << "stored " << stored;
    }
}

TEST(PageStitcher, PageThatKeepsGrowingStopsAtTheLargestPicture) {
    TFakePage page = ScrollingPage(250);
    // Every step loads more content below, as endless pages do.
    page.OnPause = [](TFakePage& p) { p.Page.ScrollHeight += 98; };
    const auto picture = StitchWebPage(page, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Height(), TBitmap32::kMaxSide);
    EXPECT_TRUE(HasRows(*picture, TBitmap32::kMaxSide - 3, 3, TBitmap32::kMaxSide - 3));
}

TEST(PageStitcher, PageViewClassIsRecognisedWhateverTheCaseOfItsName) {
    EXPECT_TRUE(IsWebPageView(L"Internet Explorer_Server"));
    EXPECT_TRUE(IsWebPageView(L"internet explorer_server"));
    EXPECT_FALSE(IsWebPageView(L"Internet Explorer_Server2"));
    EXPECT_FALSE(IsWebPageView(L"Shell DocObject View"));
    EXPECT_FALSE(IsWebPageView(L""));
}
