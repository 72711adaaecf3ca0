#include "core/PageStitcher.h"

#include <algorithm>
#include <cstdint>

#include "core/PixelRows.h"
#include "core/TextRules.h"

namespace {

// A frame collection longer than this is not believed; the search looks at this many.
constexpr int kMaxFrames = 4096;

using geometry_detail::Saturate;

// Copies height rows of width lent pixels into consecutive rows of to, made opaque.
void CopyOpaque(const TGrabbedRows& rows, int width, int height, TColor32* to) {
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y)
        pixel_rows::SetAlphaRow(to + static_cast<std::size_t>(y) * w, rows.First + y * rows.Stride, w, 255);
}

// Appends the rows of the capture to the picture as they come: each grab's newly shown rows
// are copied once, from the pixels the page lends straight into the picture's new rows, and
// made opaque on the way (the grab may leave any alpha).
class TRowJoiner {
public:
    explicit TRowJoiner(int width)
        : width_(width), maxRows_(static_cast<int>(
                             std::min<std::int64_t>(TBitmap32::kMaxSide, TBitmap32::kMaxPixels / width))) {}

    // Room for the rows still expected, so that the picture grows without moving.
    void Expect(std::int64_t moreRows) {
        const std::int64_t rows =
            std::min<std::int64_t>(picture_.Height() + std::max<std::int64_t>(moreRows, 0), maxRows_);
        picture_.Reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(width_));
    }

    // Grabs the window rows [top, top + rows) and appends them, or the upper ones of them that
    // still fit in the picture, below the rows taken so far; false when the grab failed.
    bool Grab(IWebPage& page, int top, int rows) {
        TGrabbedRows grabbed;
        if (!page.Grab(top, width_, rows, grabbed))
            return false;
        const int count = std::min(rows, maxRows_ - picture_.Height());
        if (count > 0)
            CopyOpaque(grabbed, width_, count, picture_.AppendRows(width_, count));
        return true;
    }
    bool Full() const { return picture_.Height() >= maxRows_; }

    TBitmap32 Join() && { return std::move(picture_); }

private:
    int width_;
    int maxRows_;
    TBitmap32 picture_;
};

// The scrolling loop of both paths: of the view rows [top, top + viewHeight) of the window,
// grab those that came into view since the last grab below the rows joined, scroll by the
// view height less the overlap, pause, and go on while the element really moved forward. The
// position is read after the pause, right before the next grab, so that rows scrolled by
// someone else meanwhile are still joined in order. False when the very first grab failed,
// so that nothing of the element was captured.
bool ScrollAndJoin(IWebPage& page, IScrollElement& element, TRowJoiner& joiner, int viewHeight, int top,
                   int delay, bool handleMessages) {
    std::optional<int> shownTop = element.ScrollTop();
    // The rows to come, as far as the page tells them, are made room for at once.
    if (const auto scrollHeight = element.ScrollHeight(); scrollHeight && shownTop)
        joiner.Expect(std::int64_t{viewHeight} +
                      std::max<std::int64_t>(0, std::int64_t{*scrollHeight} - viewHeight - *shownTop));
    int newRows = viewHeight;
    for (bool first = true;; first = false) {
        // Only the rows that came into view are grabbed: the bottom newRows of the view.
        if (!joiner.Grab(page, top + viewHeight - newRows, newRows))
            return !first;
        if (joiner.Full() || !shownTop)
            return true;
        if (!element.SetScrollTop(Saturate(std::int64_t{*shownTop} + viewHeight - kScrollOverlap)))
            return true;
        page.Pause(delay, handleMessages);
        const auto nowTop = element.ScrollTop();
        if (!nowTop)
            return true;
        // A step that moved nothing is the end; one that went back (the user scrolled while
        // messages were handled) ends too, rather than joining rows out of order.
        const std::int64_t moved = std::int64_t{*nowTop} - *shownTop;
        if (moved <= 0)
            return true;
        // A jump of more than a view leaves a gap that no grab can fill: the whole next
        // view is joined, never more.
        newRows = static_cast<int>(std::min<std::int64_t>(moved, viewHeight));
        shownTop = nowTop;
    }
}

// The frame with the greatest scrollable extent; among equal ones the first; a hidden
// frame or one with nothing to scroll is never chosen, and an unreadable one is skipped.
std::optional<int> ChooseScrollFrame(IWebPage& page, int frameCount) {
    std::optional<int> chosen;
    std::int64_t best = 0;
    for (int i = 0; i < std::min(frameCount, kMaxFrames); ++i) {
        const auto body = page.FrameBody(i);
        if (!body)
            continue;
        const auto clientHeight = body->ClientHeight();
        const auto scrollHeight = body->ScrollHeight();
        if (!clientHeight || !scrollHeight || *clientHeight <= 0)
            continue;
        const std::int64_t extent = std::int64_t{*scrollHeight} - *clientHeight;
        if (extent > best) {
            chosen = i;
            best = extent;
        }
    }
    return chosen;
}

// The body's view size, limited to the view window's own size (a copy beyond the window
// would read pixels of whatever lies there); none when unreadable or not positive.
std::optional<TSize> ViewSize(IScrollElement& body, TSize window) {
    const auto width = body.ClientWidth();
    const auto height = body.ClientHeight();
    if (!width || !height)
        return std::nullopt;
    const TSize view{std::min(*width, window.Width), std::min(*height, window.Height)};
    if (view.Width <= 0 || view.Height <= 0 || !TBitmap32::ValidSize(view.Width, view.Height))
        return std::nullopt;
    return view;
}

// The view as it shows, when neither the page nor a frame scrolls.
std::optional<TBitmap32> SingleView(IWebPage& page, IScrollElement& body, TSize window) {
    const auto view = ViewSize(body, window);
    if (!view)
        return std::nullopt;
    TGrabbedRows grabbed;
    if (!page.Grab(0, view->Width, view->Height, grabbed))
        return std::nullopt;
    TBitmap32 picture;
    picture.SetSizeForOverwrite(view->Width, view->Height);
    CopyOpaque(grabbed, view->Width, view->Height, picture.Bits());
    return picture;
}

std::optional<TBitmap32> PagePath(IWebPage& page, IScrollElement& body, TSize window, int delay) {
    const auto view = ViewSize(body, window);
    if (!view)
        return std::nullopt;
    TRowJoiner joiner(view->Width);
    if (!ScrollAndJoin(page, body, joiner, view->Height, 0, delay, true))
        return std::nullopt;
    return std::move(joiner).Join();
}

// The chosen frame is taken to span the view's width at its bottom, under a strip of the
// view (the header) as tall as the difference of the two client heights.
std::optional<TBitmap32> FramePath(IWebPage& page, IScrollElement& body, int frameIndex, TSize window,
                                   int delay) {
    const auto frame = page.FrameBody(frameIndex);
    if (!frame)
        return std::nullopt;
    const auto topWidth = body.ClientWidth();
    const auto topHeight = body.ClientHeight();
    const auto frameHeight = frame->ClientHeight();
    if (!topWidth || !topHeight || !frameHeight)
        return std::nullopt;
    const std::int64_t header64 = std::int64_t{*topHeight} - *frameHeight;
    // A frame taller than the view has no place under a strip.
    if (header64 < 0)
        return std::nullopt;
    const int header = static_cast<int>(std::min<std::int64_t>(header64, window.Height));
    const int w = std::min(*topWidth, window.Width);
    const int fh = std::min(*frameHeight, window.Height - header);
    if (w <= 0 || fh <= 0 || !TBitmap32::ValidSize(w, fh) || !TBitmap32::ValidSize(w, header))
        return std::nullopt;

    TRowJoiner joiner(w);
    if (header > 0 && !joiner.Grab(page, 0, header))
        return std::nullopt;
    if (!ScrollAndJoin(page, *frame, joiner, fh, header, delay, false))
        return std::nullopt;
    return std::move(joiner).Join();
}

} // namespace

bool IsWebPageView(std::wstring_view className) {
    constexpr std::wstring_view kViewClass = L"internet explorer_server";
    return SameAsciiText(className, kViewClass);
}

std::optional<TBitmap32> StitchWebPage(IWebPage& page, int scrollDelay) {
    const int delay = ClampScrollDelay(scrollDelay);
    const auto window = page.WindowSize();
    const auto body = page.Body();
    if (!window || !body)
        return std::nullopt;
    const auto scrollHeight = body->ScrollHeight();
    const auto clientHeight = body->ClientHeight();
    if (!scrollHeight || !clientHeight)
        return std::nullopt;
    if (*scrollHeight > *clientHeight)
        return PagePath(page, *body, *window, delay);

    const auto frameCount = page.FrameCount();
    if (!frameCount)
        return std::nullopt;
    if (const auto chosen = ChooseScrollFrame(page, *frameCount))
        return FramePath(page, *body, *chosen, *window, delay);
    return SingleView(page, *body, *window);
}
