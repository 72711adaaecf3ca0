#pragma once
// The scrolling web-page capture's stepping and joining. A page view of the browser
// control is scrolled step by step; each step's newly shown rows are appended below the
// rows taken so far, so the page from its current scroll position to its end becomes one
// picture. When the page itself does not scroll, the frame with the most to scroll is
// captured the same way under the strip of the view above it.
//
// The browser's document and the view window are reached through IWebPage and
// IScrollElement, which the Windows side implements over the document object model and
// the window's device context, and tests implement over a painted fake page.
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "core/Bitmap32.h"
#include "core/Geometry.h"

// One scrollable body: the document's or a frame's. Every read may fail (none).
class IScrollElement {
public:
    virtual ~IScrollElement() = default;
    virtual std::optional<int> ClientWidth() = 0;
    virtual std::optional<int> ClientHeight() = 0;
    virtual std::optional<int> ScrollHeight() = 0;
    virtual std::optional<int> ScrollTop() = 0;
    // Asks the body to scroll to value; false when the request failed. The browser keeps
    // the position within 0 .. ScrollHeight - ClientHeight, so ScrollTop read back tells
    // how far the body really moved.
    virtual bool SetScrollTop(int value) = 0;
};

// The pixels of a grab, lent by the page: row y of them starts at First + y * Stride.
struct TGrabbedRows {
    const TColor32* First = nullptr;
    std::ptrdiff_t Stride = 0;
};

// The picked page view.
class IWebPage {
public:
    virtual ~IWebPage() = default;
    // The document's body; null when the document or its body cannot be reached.
    virtual std::unique_ptr<IScrollElement> Body() = 0;
    // The number of frames of the document; none when the collection cannot be read.
    virtual std::optional<int> FrameCount() = 0;
    // The body of frame index; null when that frame, its document or body cannot be reached.
    virtual std::unique_ptr<IScrollElement> FrameBody(int index) = 0;
    // The size of the view window itself (its window rectangle); none when it is gone.
    virtual std::optional<TSize> WindowSize() = 0;
    // Copies width x height pixels of the view window, from (0, top) of the window (its
    // top-left corner is (0, 0)), and lends them through rows until the next grab; their
    // alpha may be anything. False when the copy failed.
    virtual bool Grab(int top, int width, int height, TGrabbedRows& rows) = 0;
    // The pause after every scroll step, the last one (which moves nothing) included, so
    // that the browser can draw the newly shown rows. handleMessages: the program's
    // window messages are handled meanwhile (the page path does, the frame path does not).
    virtual void Pause(int delayMs, bool handleMessages) = 0;
};

// Consecutive views overlap by this many rows: each step scrolls the view height less it.
constexpr int kScrollOverlap = 2;
// The range of the pause between steps; a stored "ScrollDelay" is brought into it.
constexpr int kMaxScrollDelay = 65535;
constexpr int ClampScrollDelay(int delayMs) {
    return delayMs < 0 ? 0 : delayMs > kMaxScrollDelay ? kMaxScrollDelay : delayMs;
}

// Whether a window of this class is a page view of the browser control (the class name
// compared without regard to the case of its ASCII letters).
bool IsWebPageView(std::wstring_view className);

// The capture: the page (or its most scrollable frame under the view's top strip) from
// its current scroll position to its end, as one opaque picture; the page or frame is
// left scrolled to its end. A page that does not scroll and has no frame that does gives
// the visible view alone.
//
// No picture (failure) when the document, its body or the chosen frame cannot be read,
// when a width or height to capture is not positive, when the frame is taller than the
// view, or when the first copy of the view fails. A failure after the first copy ends the
// scrolling and keeps the rows taken so far. Sizes are limited to the view window's own,
// each step appends at most a view's height of rows, and a page that keeps growing stops
// at the largest picture a bitmap can hold. scrollDelay is clamped by ClampScrollDelay.
// Throws only std::bad_alloc, when memory runs out.
std::optional<TBitmap32> StitchWebPage(IWebPage& page, int scrollDelay);
