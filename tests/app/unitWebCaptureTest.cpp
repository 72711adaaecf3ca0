#include "capture/unitWebCapture.h"

#include <windows.h>

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "tests/support/FakeWebView.h"
#include "tests/support/HelperProcess.h"

using namespace fake_web;

namespace {

// The colour of a pixel of a 24-bit bitmap, as 0x00RRGGBB.
std::uint32_t PixelAt(TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

// Rows [atY, atY + count) of the picture show rows firstRow... of the page, across the width.
::testing::AssertionResult RowsShow(TBitmap& bitmap, int atY, int count, int page, int firstRow) {
    for (int i = 0; i < count; ++i)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t want = RowColour(page, firstRow + i);
            const std::uint32_t got = PixelAt(bitmap, x, atY + i);
            if (got != want)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << atY + i << ") is " << std::hex << got << ", page "
                       << std::dec << page << " row " << firstRow + i << " expected";
        }
    return ::testing::AssertionSuccess();
}

// A view 200 x 100 whose bodies are 183 wide: 17 columns of scroll bar at the right.
TPageLayout PageLayout(LONG scrollHeight, LONG scrollTop, LONG clientHeight = 100) {
    TPageLayout layout;
    layout.Width = 200;
    layout.Height = 100;
    layout.ClientWidth = 183;
    layout.Body = {clientHeight, scrollHeight, scrollTop, 0, false};
    return layout;
}

TPageLayout FrameLayout(std::vector<TScrollArea> frames) {
    TPageLayout layout = PageLayout(100, 0);
    layout.Frames = std::move(frames);
    return layout;
}

class WebCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        comResult_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (!Application)
            app_ = std::make_unique<TApplication>(GetModuleHandleW(nullptr));
    }
    void TearDown() override {
        app_.reset();
        if (SUCCEEDED(comResult_))
            CoUninitialize();
    }

    // Captures the view in this process; every object it was given must be released.
    int Capture(TFakeView& view, int delay = 0) {
        const int result = CaptureWebPage(bitmap, view.Wnd(), delay);
        EXPECT_EQ(view.Page().LiveObjects, 0) << "an object of the page was not released";
        return result;
    }

    TBitmap bitmap;

private:
    HRESULT comResult_ = E_FAIL;
    std::unique_ptr<TApplication> app_;
};

// ---- the page scrolls ----

TEST_F(WebCaptureTest, PageFromTheTopIsJoinedRowForRowToItsEnd) {
    TFakeView view(PageLayout(350, 0));
    ASSERT_EQ(Capture(view), 0);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.Width(), 183) << "the scroll bar is not part of the picture";
    ASSERT_EQ(bitmap.Height(), 350);
    EXPECT_TRUE(RowsShow(bitmap, 0, 350, 0, 0));
    // Each step moves two rows less than the view; the last request moves nothing.
    EXPECT_EQ(view.Page().ScrollRequests, (std::vector<LONG>{98, 196, 294, 348}));
    EXPECT_EQ(view.Page().Layout.Body.ScrollTop, 250) << "the page is left at its end";
}

TEST_F(WebCaptureTest, PageStartedHalfWayIsTakenFromThereOn) {
    TFakeView view(PageLayout(350, 120));
    // A negative pause is no pause.
    ASSERT_EQ(Capture(view, -5), 0);
    ASSERT_EQ(bitmap.Height(), 100 + (250 - 120));
    EXPECT_TRUE(RowsShow(bitmap, 0, 230, 0, 120));
}

TEST_F(WebCaptureTest, BodyTallerThanTheWindowIsReadOnlyWithinTheWindow) {
    // The body claims 300 rows of view in a window of 100: the steps are those of the
    // window's 100 rows, and no row is read from beyond the window.
    TFakeView view(PageLayout(500, 0, 300));
    ASSERT_EQ(Capture(view), 0);
    EXPECT_EQ(bitmap.Width(), 183);
    ASSERT_EQ(bitmap.Height(), 300);
    EXPECT_TRUE(RowsShow(bitmap, 0, 300, 0, 0));
}

// ---- the page does not scroll ----

TEST_F(WebCaptureTest, PageShorterThanItsViewGivesTheViewAsItShows) {
    TFakeView view(PageLayout(60, 0));
    ASSERT_EQ(Capture(view), 0);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.Width(), 183);
    ASSERT_EQ(bitmap.Height(), 100);
    EXPECT_TRUE(RowsShow(bitmap, 0, 100, 0, 0));
    EXPECT_TRUE(view.Page().ScrollRequests.empty());
}

TEST_F(WebCaptureTest, FrameWithTheMostToScrollIsJoinedUnderTheStripAboveIt) {
    // An upper frame of 30 rows with 50 to scroll, a lower one of 70 rows with 330.
    TFakeView view(FrameLayout({{30, 80, 0, 0, false}, {70, 400, 0, 30, false}}));
    ASSERT_EQ(Capture(view), 0);
    EXPECT_EQ(bitmap.Width(), 183);
    ASSERT_EQ(bitmap.Height(), 30 + 400);
    EXPECT_TRUE(RowsShow(bitmap, 0, 30, 1, 0)) << "the strip shows the upper frame as it stands";
    EXPECT_TRUE(RowsShow(bitmap, 30, 400, 2, 0));
    EXPECT_EQ(view.Page().Layout.Frames[1].ScrollTop, 330);
    EXPECT_EQ(view.Page().Layout.Frames[0].ScrollTop, 0);
}

TEST_F(WebCaptureTest, FrameSearchPassesOverHiddenAndUnreachableFramesAndKeepsTheFirstOfEqualOnes) {
    TFakeView view(FrameLayout({
        {0, 1000, 0, 0, false},   // hidden: never chosen, however tall
        {20, 900, 0, 1000, true}, // its window cannot be had: skipped
        {50, 110, 0, 50, false},  // 60 to scroll, first of the two
        {50, 110, 0, 0, false},   // 60 to scroll as well, painted above it
    }));
    ASSERT_EQ(Capture(view), 0);
    ASSERT_EQ(bitmap.Height(), 50 + 110);
    EXPECT_TRUE(RowsShow(bitmap, 0, 50, 4, 0));
    EXPECT_TRUE(RowsShow(bitmap, 50, 110, 3, 0));
}

TEST_F(WebCaptureTest, OnlyThePagePathHandlesMessagesBetweenSteps) {
    // A message waiting in the queue is handled during a page capture, and only after a
    // frame capture has ended.
    HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(sink, nullptr);
    MSG msg;
    const auto waiting = [&] { return PeekMessageW(&msg, sink, WM_APP + 7, WM_APP + 7, PM_NOREMOVE) != 0; };

    TFakeView page(PageLayout(350, 0));
    PostMessageW(sink, WM_APP + 7, 0, 0);
    ASSERT_EQ(Capture(page), 0);
    EXPECT_FALSE(waiting());

    TFakeView frames(FrameLayout({{60, 300, 0, 40, false}}));
    PostMessageW(sink, WM_APP + 7, 0, 0);
    ASSERT_EQ(Capture(frames), 0);
    EXPECT_TRUE(waiting());
    DestroyWindow(sink);
}

// ---- failures leave the bitmap alone ----

TEST_F(WebCaptureTest, ViewClosedInTheMiddleOfTheCaptureLeavesTheRowsTaken) {
    TPageLayout closing = PageLayout(350, 0);
    closing.ClosesOnScroll = true;
    TFakeView view(closing);
    ASSERT_EQ(Capture(view), 0);
    ASSERT_EQ(bitmap.Height(), 100) << "no rows are read from a window that has gone";
    EXPECT_TRUE(RowsShow(bitmap, 0, 100, 0, 0));
}

TEST_F(WebCaptureTest, PageWithoutBrowserServiceHtmlDocumentOrBodyIsAFailure) {
    TPageLayout noBrowser = PageLayout(350, 0);
    noBrowser.NoBrowser = true;
    TPageLayout notHtml = PageLayout(350, 0);
    notHtml.NotHtml = true;
    TPageLayout noBody = PageLayout(350, 0);
    noBody.NoBody = true;
    for (const TPageLayout& layout : {noBrowser, notHtml, noBody}) {
        TFakeView view(layout);
        bitmap = TBitmap(7, 5, TPixelFormat::pf24bit);
        EXPECT_EQ(Capture(view), 1);
        EXPECT_EQ(bitmap.Width(), 7);
        EXPECT_EQ(bitmap.Height(), 5);
        EXPECT_TRUE(view.Page().ScrollRequests.empty());
    }
}

TEST_F(WebCaptureTest, ViewAnsweringWithSomethingElseThanItsDocumentIsAFailure) {
    TPageLayout bogus = PageLayout(350, 0);
    bogus.BogusAnswer = 12345;
    TFakeView view(bogus);
    TComPtr<IWebBrowser2> browser;
    EXPECT_LT(GetWebBrowserFromWindow(view.Wnd(), browser), 0);
    EXPECT_FALSE(browser);
    EXPECT_EQ(Capture(view), 1);
    EXPECT_TRUE(bitmap.Empty());
}

TEST_F(WebCaptureTest, WindowThatIsNoPageViewOrIsGoneIsAFailure) {
    HWND other =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    TComPtr<IWebBrowser2> browser;
    EXPECT_NE(GetWebBrowserFromWindow(other, browser), 0);
    EXPECT_FALSE(browser);
    EXPECT_EQ(CaptureWebPage(bitmap, other, 0), 1);
    DestroyWindow(other);
    EXPECT_NE(GetWebBrowserFromWindow(other, browser), 0);
    EXPECT_EQ(CaptureWebPage(bitmap, other, 0), 1);
    EXPECT_TRUE(bitmap.Empty());
}

TEST_F(WebCaptureTest, BrowserIsReachedThroughTheViewsDocumentWindow) {
    TFakeView view(PageLayout(350, 0));
    TComPtr<IWebBrowser2> browser;
    ASSERT_EQ(GetWebBrowserFromWindow(view.Wnd(), browser), 0);
    ASSERT_TRUE(browser);
    TComPtr<IDispatch> document;
    EXPECT_EQ(browser->get_Document(document.Put()), S_OK);
    TComPtr<IHTMLDocument2> html;
    EXPECT_EQ(document.As(html), S_OK);
    EXPECT_EQ(view.Requests(), 1);

    TPageLayout noBrowser = PageLayout(350, 0);
    noBrowser.NoBrowser = true;
    TFakeView bare(noBrowser);
    EXPECT_EQ(GetWebBrowserFromWindow(bare.Wnd(), browser), 0) << "the document was had";
    EXPECT_FALSE(browser);
}

// ---- a view in another process ----

class WebCaptureProcessTest : public WebCaptureTest {
protected:
    // Starts the helper with a view of that layout (or a hung one) and finds its window.
    HWND Start(const std::wstring& mode, const std::wstring& layout) {
        static int serial = 0;
        const std::wstring tag = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        const std::wstring title = L"Fake page " + tag;
        const std::wstring eventName = L"TolvexFakeWebView-" + tag;
        ready_.Reset(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        process_ = std::make_unique<helper_process::TProcess>(
            L"\"" + helper_process::HelperExe(L"FakeWebView") + L"\" " + mode + L" \"" + title + L"\" " +
            eventName + L" " + layout);
        if (!process_->Started() ||
            WaitForSingleObject(ready_.Get(), deadlines::kStateTicks) != WAIT_OBJECT_0)
            return nullptr;
        return FindWindowW(kViewClass, title.c_str());
    }
    void TearDown() override {
        if (process_)
            process_.reset();
        WebCaptureTest::TearDown();
    }
    std::unique_ptr<helper_process::TProcess> process_;

private:
    TKernelHandle ready_;
};

TEST_F(WebCaptureProcessTest, PageOfAViewInAnotherProcessIsJoinedRowForRow) {
    HWND wnd = Start(L"view", PageLayout(350, 60).Format());
    ASSERT_NE(wnd, nullptr);
    ASSERT_EQ(CaptureWebPage(bitmap, wnd, 100), 0);
    EXPECT_EQ(bitmap.Width(), 183);
    ASSERT_EQ(bitmap.Height(), 100 + (250 - 60));
    EXPECT_TRUE(RowsShow(bitmap, 0, 290, 0, 60));
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(process_->Wait(), 0);
}

TEST_F(WebCaptureProcessTest, FramesOfAViewInAnotherProcessAreSearchedAndJoined) {
    HWND wnd = Start(L"view", FrameLayout({{30, 80, 0, 0, false}, {70, 400, 0, 30, false}}).Format());
    ASSERT_NE(wnd, nullptr);
    ASSERT_EQ(CaptureWebPage(bitmap, wnd, 100), 0);
    ASSERT_EQ(bitmap.Height(), 430);
    EXPECT_TRUE(RowsShow(bitmap, 0, 30, 1, 0));
    EXPECT_TRUE(RowsShow(bitmap, 30, 400, 2, 0));
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(process_->Wait(), 0);
}

TEST_F(WebCaptureProcessTest, BrowserThatEndsInTheMiddleOfTheCaptureLeavesTheRowsTaken) {
    HWND wnd = Start(L"dying", PageLayout(350, 0).Format());
    ASSERT_NE(wnd, nullptr);
    ASSERT_EQ(CaptureWebPage(bitmap, wnd, 0), 0);
    ASSERT_EQ(bitmap.Height(), 100) << "the first view, taken before the failed step";
    EXPECT_TRUE(RowsShow(bitmap, 0, 100, 0, 0));
    EXPECT_EQ(process_->Wait(), 9);
}

TEST_F(WebCaptureProcessTest, ViewThatNeverAnswersFailsWithinAboutASecond) {
    HWND wnd = Start(L"hang", L"");
    ASSERT_NE(wnd, nullptr);
    bitmap = TBitmap(7, 5, TPixelFormat::pf24bit);
    const DWORD start = GetTickCount();
    EXPECT_EQ(CaptureWebPage(bitmap, wnd, 0), 1);
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_EQ(bitmap.Width(), 7);
}

} // namespace
