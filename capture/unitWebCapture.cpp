#include "capture/unitWebCapture.h"

#include <windows.h>

#include <mshtml.h>
#include <oleauto.h>
#include <servprov.h>

#include <cstring>
#include <memory>
#include <optional>

#include "core/PageStitcher.h"
#include "forms/Application.h"

const wchar_t* const kHtmlGetObjectMessage = L"WM_HTML_GETOBJECT";

namespace {

using TObjectFromLresult = HRESULT(WINAPI*)(LRESULT result, REFIID riid, WPARAM wParam, void** object);

// The web-browser service of a document's window carries the identifier of the browser
// application interface.
const GUID& WebBrowserService() {
    return __uuidof(IWebBrowserApp);
}

// COM on this thread for one capture, balanced with whatever the thread did before.
class TComApartment {
public:
    TComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;
    ~TComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

private:
    HRESULT result_;
};

// A VARIANT that is cleared on every path.
class TVariant {
public:
    TVariant() { VariantInit(&value_); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    ~TVariant() { VariantClear(&value_); }
    VARIANT* Get() { return &value_; }

private:
    VARIANT value_;
};

// The whole window's device context (its origin is the window's top-left corner, frame
// included), released on every path.
class TWholeWindowDC {
public:
    explicit TWholeWindowDC(HWND wnd) : wnd_(wnd), dc_(GetWindowDC(wnd)) {}
    TWholeWindowDC(const TWholeWindowDC&) = delete;
    TWholeWindowDC& operator=(const TWholeWindowDC&) = delete;
    ~TWholeWindowDC() {
        if (dc_)
            ReleaseDC(wnd_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// One body element of the page or of a frame. Any failed or refused call reads as none.
class TBodyElement final : public IScrollElement {
public:
    explicit TBodyElement(TComPtr<IHTMLElement2> element) : element_(std::move(element)) {}

    std::optional<int> ClientWidth() override { return Read(&IHTMLElement2::get_clientWidth); }
    std::optional<int> ClientHeight() override { return Read(&IHTMLElement2::get_clientHeight); }
    std::optional<int> ScrollHeight() override { return Read(&IHTMLElement2::get_scrollHeight); }
    std::optional<int> ScrollTop() override { return Read(&IHTMLElement2::get_scrollTop); }
    bool SetScrollTop(int value) override { return SUCCEEDED(element_->put_scrollTop(value)); }

private:
    using TGetter = HRESULT (STDMETHODCALLTYPE IHTMLElement2::*)(LONG*);
    std::optional<int> Read(TGetter getter) {
        LONG value = 0;
        if (FAILED((element_.Get()->*getter)(&value)))
            return std::nullopt;
        return static_cast<int>(value);
    }
    TComPtr<IHTMLElement2> element_;
};

// The body of a document as a scrollable element; null when it cannot be reached.
std::unique_ptr<IScrollElement> BodyOf(IHTMLDocument2* document) {
    if (!document)
        return nullptr;
    TComPtr<IHTMLElement> body;
    if (FAILED(document->get_body(body.Put())) || !body)
        return nullptr;
    TComPtr<IHTMLElement2> element;
    if (FAILED(body.As(element)) || !element)
        return nullptr;
    return std::make_unique<TBodyElement>(std::move(element));
}

// The picked page view: its document for the page and frames, its window for the pixels.
class TWebPageView final : public IWebPage {
public:
    TWebPageView(HWND wnd, TComPtr<IHTMLDocument2> document) : wnd_(wnd), document_(std::move(document)) {}

    std::unique_ptr<IScrollElement> Body() override { return BodyOf(document_.Get()); }

    std::optional<int> FrameCount() override {
        if (!Frames())
            return std::nullopt;
        LONG length = 0;
        if (FAILED(frames_->get_length(&length)))
            return std::nullopt;
        return static_cast<int>(length);
    }

    std::unique_ptr<IScrollElement> FrameBody(int index) override {
        if (!Frames())
            return nullptr;
        TVariant which;
        which.Get()->vt = VT_I4;
        which.Get()->lVal = index;
        TVariant item;
        if (FAILED(frames_->item(which.Get(), item.Get())))
            return nullptr;
        // Any other kind of item is not a frame's window.
        if (item.Get()->vt != VT_DISPATCH || !item.Get()->pdispVal)
            return nullptr;
        TComPtr<IHTMLWindow2> frame;
        if (FAILED(item.Get()->pdispVal->QueryInterface(__uuidof(IHTMLWindow2),
                                                        reinterpret_cast<void**>(frame.Put()))) ||
            !frame)
            return nullptr;
        TComPtr<IHTMLDocument2> document;
        if (FAILED(frame->get_document(document.Put())))
            return nullptr;
        return BodyOf(document.Get());
    }

    std::optional<TSize> WindowSize() override {
        RECT r;
        if (!GetWindowRect(wnd_, &r))
            return std::nullopt;
        return TSize{r.right - r.left, r.bottom - r.top};
    }

    bool Grab(int top, int width, int height, TGrabbedRows& rows) override {
        // A view closed meanwhile (messages are handled between steps) has no rows to give.
        if (!IsWindow(wnd_))
            return false;
        // The window's device context is taken once and held for the whole capture.
        if (!dc_)
            dc_ = std::make_unique<TWholeWindowDC>(wnd_);
        if (!dc_->Get())
            return false;
        // One screen bitmap as wide as the view serves every step; a step copies into its top
        // rows and lends them to the joiner, which copies them into the picture.
        if (screen_.Width() != width || screen_.Height() < height)
            screen_ = TBitmap(width, height, TPixelFormat::pf32bit);
        if (!BitBlt(screen_.Canvas(), 0, 0, width, height, dc_->Get(), 0, top, SRCCOPY))
            return false;
        rows = {reinterpret_cast<const TColor32*>(screen_.ScanLine(0)),
                static_cast<std::ptrdiff_t>(screen_.ScanLineSize() / sizeof(TColor32))};
        return true;
    }

    void Pause(int delayMs, bool handleMessages) override {
        if (delayMs > 0)
            Sleep(static_cast<DWORD>(delayMs));
        if (handleMessages && Application)
            Application->ProcessMessages();
    }

private:
    IHTMLFramesCollection2* Frames() {
        if (!frames_ && (FAILED(document_->get_frames(frames_.Put())) || !frames_))
            frames_.Reset();
        return frames_.Get();
    }

    HWND wnd_;
    TComPtr<IHTMLDocument2> document_;
    TComPtr<IHTMLFramesCollection2> frames_;
    std::unique_ptr<TWholeWindowDC> dc_;
    TBitmap screen_;
};

// The joined picture as the capture's 24-bit bitmap.
TBitmap ToCaptureBitmap(const TBitmap32& picture) {
    TBitmap bitmap(picture.Width(), picture.Height(), TPixelFormat::pf24bit);
    for (int y = 0; y < picture.Height(); ++y) {
        const TColor32* source = picture.ScanLine(y);
        std::uint8_t* dest = bitmap.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x, dest += 3) {
            dest[0] = BlueComponent(source[x]);
            dest[1] = GreenComponent(source[x]);
            dest[2] = RedComponent(source[x]);
        }
    }
    return bitmap;
}

int CaptureWebPageIn(TBitmap& bitmap, HWND wnd, int delayMs) {
    TComPtr<IWebBrowser2> browser;
    if (GetWebBrowserFromWindow(wnd, browser) != 0 || !browser)
        return 1;
    TComPtr<IDispatch> dispatch;
    if (FAILED(browser->get_Document(dispatch.Put())) || !dispatch)
        return 1;
    // The browser may show something other than an HTML document.
    TComPtr<IHTMLDocument2> document;
    if (FAILED(dispatch.As(document)) || !document)
        return 1;
    std::optional<TBitmap32> picture;
    {
        TWebPageView view(wnd, std::move(document));
        picture = StitchWebPage(view, delayMs);
    }
    if (!picture)
        return 1;
    bitmap = ToCaptureBitmap(*picture);
    return 0;
}

} // namespace

int GetWebBrowserFromWindow(HWND wnd, TComPtr<IWebBrowser2>& browser) {
    browser.Reset();
    const TModuleHandle library(LoadLibraryW(L"Oleacc.dll"));
    if (!library)
        return 1;
    const auto objectFromLresult = ProcAddress<TObjectFromLresult>(library.Get(), "ObjectFromLresult");
    if (!objectFromLresult)
        return 1;

    // A view that does not answer in time, or has gone, offers nothing to unpack.
    const UINT message = RegisterWindowMessageW(kHtmlGetObjectMessage);
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (!message ||
        !SendMessageTimeoutW(wnd, message, 0, 0, SMTO_ABORTIFHUNG, kHtmlGetObjectTimeout, &answer)) {
        const DWORD error = GetLastError();
        return HRESULT_FROM_WIN32(error != ERROR_SUCCESS ? error : ERROR_TIMEOUT);
    }
    // A window that does not know the message answers 0: no document.
    if (answer == 0)
        return E_FAIL;

    TComPtr<IHTMLDocument2> document;
    const HRESULT result = objectFromLresult(static_cast<LRESULT>(answer), __uuidof(IHTMLDocument2), 0,
                                             reinterpret_cast<void**>(document.Put()));
    if (FAILED(result))
        return result;
    if (!document)
        return E_POINTER;

    // Without a window or its browser service the browser stays empty; the caller decides.
    TComPtr<IHTMLWindow2> window;
    if (FAILED(document->get_parentWindow(window.Put())) || !window)
        return 0;
    TComPtr<IServiceProvider> services;
    if (FAILED(window.As(services)) || !services)
        return 0;
    if (FAILED(services->QueryService(WebBrowserService(), __uuidof(IWebBrowser2),
                                      reinterpret_cast<void**>(browser.Put()))))
        browser.Reset();
    return 0;
}

int CaptureWebPage(TBitmap& bitmap, HWND wnd, int delayMs) {
    try {
        // The apartment outlives every interface of the capture.
        const TComApartment apartment;
        return CaptureWebPageIn(bitmap, wnd, delayMs);
    } catch (...) {
        // Running out of memory for a long page, or a bitmap the system refused.
        return 1;
    }
}
