#pragma once
// A fake page view of the browser control for the web-page capture's tests: a window of the
// view's class that answers "WM_HTML_GETOBJECT" with its own document objects (document,
// body element, window with its browser service, frames collection, web browser), and
// paints every row of the page and of its frames in a colour that encodes the row, at the
// current scroll positions. It serves in the test's own process, or in another one from
// the FakeWebView helper.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/WebPageStubs.h"

namespace fake_web {

// Row y of page p (0 the document, i + 1 frame i; up to five frames) is painted in
// RowColour(p, y), as 0x00RRGGBB; the window right of the bodies (where the scroll bar
// would be) in kBarColour.
constexpr std::uint32_t RowColour(int page, int y) {
    return (static_cast<std::uint32_t>(0x10 + 0x28 * page) << 16) | (static_cast<std::uint32_t>(y) & 0xFFFF);
}
constexpr std::uint32_t kBarColour = 0xFFFFFF;

// One scrolling body. Frames also have the view row they start at.
struct TScrollArea {
    LONG ClientHeight = 0;
    LONG ScrollHeight = 0;
    LONG ScrollTop = 0;
    LONG Top = 0;
    // The frame's window cannot be had from the frames collection.
    bool Broken = false;
};

struct TPageLayout {
    int Width = 0; // the view window
    int Height = 0;
    LONG ClientWidth = 0; // of the body and of every frame
    TScrollArea Body;
    std::vector<TScrollArea> Frames;
    // Faults: the document's window offers no browser service; the browser's document is
    // not an HTML document; the body element cannot be read; the process ends in the
    // middle of a scroll request, as a browser that crashes (for a helper process only).
    bool NoBrowser = false;
    bool NotHtml = false;
    bool NoBody = false;
    bool DiesOnScroll = false;
    // The view window is closed by the first scroll request, as a user might close the
    // browser in the middle of a capture.
    bool ClosesOnScroll = false;
    // Not 0: the view answers "WM_HTML_GETOBJECT" with this number instead of its document.
    LRESULT BogusAnswer = 0;

    // The numbers of a layout for a command line: width, height, client width, the body's
    // client height, scroll height and scroll top, then top, client height, scroll height
    // and scroll top of each frame. The faults are not carried.
    std::wstring Format() const {
        std::wstring text = std::to_wstring(Width) + L" " + std::to_wstring(Height) + L" " +
                            std::to_wstring(ClientWidth) + L" " + FormatArea(Body, false);
        for (const TScrollArea& frame : Frames)
            text += L" " + FormatArea(frame, true);
        return text;
    }
    static std::optional<TPageLayout> Parse(const std::vector<std::wstring>& numbers) {
        std::vector<LONG> v;
        for (const std::wstring& n : numbers) {
            wchar_t* end = nullptr;
            v.push_back(static_cast<LONG>(std::wcstol(n.c_str(), &end, 10)));
            if (!end || *end)
                return std::nullopt;
        }
        if (v.size() < 6 || (v.size() - 6) % 4 != 0)
            return std::nullopt;
        TPageLayout layout;
        layout.Width = static_cast<int>(v[0]);
        layout.Height = static_cast<int>(v[1]);
        layout.ClientWidth = v[2];
        layout.Body = {v[3], v[4], v[5], 0, false};
        for (std::size_t i = 6; i < v.size(); i += 4)
            layout.Frames.push_back({v[i + 1], v[i + 2], v[i + 3], v[i], false});
        return layout;
    }

private:
    static std::wstring FormatArea(const TScrollArea& a, bool withTop) {
        return (withTop ? std::to_wstring(a.Top) + L" " : std::wstring()) + std::to_wstring(a.ClientHeight) +
               L" " + std::to_wstring(a.ScrollHeight) + L" " + std::to_wstring(a.ScrollTop);
    }
};

// The state behind the view window and its objects.
class TFakePage {
public:
    explicit TFakePage(const TPageLayout& layout) : Layout(layout) {}
    TPageLayout Layout;
    HWND Wnd = nullptr;
    // Fake objects alive now, and every scroll request received.
    std::atomic<int> LiveObjects{0};
    std::vector<LONG> ScrollRequests;

    // The body (frame -1) or a frame.
    TScrollArea& Area(int frame) {
        return frame < 0 ? Layout.Body : Layout.Frames[static_cast<std::size_t>(frame)];
    }

    // The browser keeps the position within 0 .. scroll height - client height and shows
    // the new rows at once.
    void ScrollTo(int frame, LONG value) {
        ScrollRequests.push_back(value);
        TScrollArea& area = Area(frame);
        const LONG last = area.ScrollHeight > area.ClientHeight ? area.ScrollHeight - area.ClientHeight : 0;
        area.ScrollTop = value < 0 ? 0 : value > last ? last : value;
        if (Wnd && Layout.ClosesOnScroll)
            DestroyWindow(Wnd);
        else if (Wnd) {
            InvalidateRect(Wnd, nullptr, FALSE);
            UpdateWindow(Wnd);
        }
    }

    // The colour of view row r at column x.
    std::uint32_t ViewPixel(int x, int r) const {
        if (x >= Layout.ClientWidth)
            return kBarColour;
        for (std::size_t i = 0; i < Layout.Frames.size(); ++i) {
            const TScrollArea& f = Layout.Frames[i];
            if (r >= f.Top && r < f.Top + f.ClientHeight)
                return RowColour(static_cast<int>(i) + 1, static_cast<int>(f.ScrollTop + r - f.Top));
        }
        return RowColour(0, static_cast<int>(Layout.Body.ScrollTop) + r);
    }

    void Paint(HDC dc) const {
        const int w = Layout.Width;
        const int h = Layout.Height;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                pixels[static_cast<std::size_t>(r) * static_cast<std::size_t>(w) +
                       static_cast<std::size_t>(x)] = ViewPixel(x, r);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                          static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
    }
};

using TPagePtr = std::shared_ptr<TFakePage>;

// How long a dying view keeps a scroll request waiting before its process ends.
constexpr DWORD kDyingTime = 500;

// Answers a query for one of the listed interfaces with the given pointer.
inline HRESULT Answer(void** out, IUnknown* self) {
    if (!out)
        return E_POINTER;
    *out = self;
    if (!self)
        return E_NOINTERFACE;
    self->AddRef();
    return S_OK;
}

// Reference counting and the live-object count shared by the fakes.
class TFakeObject {
protected:
    explicit TFakeObject(TPagePtr page) : page_(std::move(page)) { ++page_->LiveObjects; }
    ~TFakeObject() { --page_->LiveObjects; }
    TPagePtr page_;
    std::atomic<ULONG> refs_{1};
};

#define TOLVEX_FAKE_REFCOUNT                                                                                 \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                              \
        return ++refs_;                                                                                      \
    }                                                                                                        \
    ULONG STDMETHODCALLTYPE Release() override {                                                             \
        const ULONG left = --refs_;                                                                          \
        if (left == 0)                                                                                       \
            delete this;                                                                                     \
        return left;                                                                                         \
    }

class TFakeBody final : public web_stubs::THTMLElementStub, public web_stubs::THTMLElement2Stub, TFakeObject {
public:
    TFakeBody(TPagePtr page, int frame) : TFakeObject(std::move(page)), frame_(frame) {}
    TOLVEX_FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLElement))
            return Answer(out, static_cast<IHTMLElement*>(this));
        if (iid == __uuidof(IHTMLElement2))
            return Answer(out, static_cast<IHTMLElement2*>(this));
        return Answer(out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_clientWidth(LONG* p) override { return Put(p, page_->Layout.ClientWidth); }
    HRESULT STDMETHODCALLTYPE get_clientHeight(LONG* p) override { return Put(p, Area().ClientHeight); }
    HRESULT STDMETHODCALLTYPE get_scrollHeight(LONG* p) override { return Put(p, Area().ScrollHeight); }
    HRESULT STDMETHODCALLTYPE get_scrollTop(LONG* p) override { return Put(p, Area().ScrollTop); }
    HRESULT STDMETHODCALLTYPE put_scrollTop(LONG v) override {
        if (page_->Layout.DiesOnScroll) {
            Sleep(kDyingTime);
            ExitProcess(9);
        }
        page_->ScrollTo(frame_, v);
        return S_OK;
    }

private:
    TScrollArea& Area() { return page_->Area(frame_); }
    static HRESULT Put(LONG* p, LONG value) {
        if (!p)
            return E_POINTER;
        *p = value;
        return S_OK;
    }
    int frame_;
};

class TFakeDocument;

// The top window (frame -1) with the browser service, or a frame's window.
class TFakeWindow final : public web_stubs::THTMLWindow2Stub,
                          public web_stubs::TInterface<IServiceProvider>,
                          TFakeObject {
public:
    TFakeWindow(TPagePtr page, int frame) : TFakeObject(std::move(page)), frame_(frame) {}
    TOLVEX_FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLFramesCollection2) ||
            iid == __uuidof(IHTMLWindow2))
            return Answer(out, static_cast<IHTMLWindow2*>(this));
        if (iid == __uuidof(IServiceProvider))
            return Answer(out, static_cast<IServiceProvider*>(this));
        return Answer(out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** p) override;
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override;

private:
    int frame_;
};

class TFakeFrames final : public web_stubs::THTMLFramesCollection2Stub<>, TFakeObject {
public:
    explicit TFakeFrames(TPagePtr page) : TFakeObject(std::move(page)) {}
    TOLVEX_FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLFramesCollection2))
            return Answer(out, static_cast<IHTMLFramesCollection2*>(this));
        return Answer(out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_length(LONG* p) override {
        if (!p)
            return E_POINTER;
        *p = static_cast<LONG>(page_->Layout.Frames.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE item(VARIANT* index, VARIANT* result) override {
        if (!index || !result)
            return E_POINTER;
        VARIANT number;
        VariantInit(&number);
        if (FAILED(VariantChangeType(&number, index, 0, VT_I4)))
            return E_INVALIDARG;
        const LONG i = number.lVal;
        if (i < 0 || static_cast<std::size_t>(i) >= page_->Layout.Frames.size())
            return E_INVALIDARG;
        if (page_->Area(static_cast<int>(i)).Broken)
            return E_FAIL;
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = static_cast<IHTMLWindow2*>(new TFakeWindow(page_, static_cast<int>(i)));
        return S_OK;
    }
};

class TFakeDocument final : public web_stubs::THTMLDocument2Stub, TFakeObject {
public:
    TFakeDocument(TPagePtr page, int frame) : TFakeObject(std::move(page)), frame_(frame) {}
    TOLVEX_FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLDocument) ||
            iid == __uuidof(IHTMLDocument2))
            return Answer(out, static_cast<IHTMLDocument2*>(this));
        return Answer(out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override {
        if (!p)
            return E_POINTER;
        *p = nullptr;
        if (page_->Layout.NoBody && frame_ < 0)
            return E_FAIL;
        *p = new TFakeBody(page_, frame_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** p) override {
        if (!p)
            return E_POINTER;
        *p = new TFakeWindow(page_, frame_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_frames(IHTMLFramesCollection2** p) override {
        if (!p)
            return E_POINTER;
        *p = new TFakeFrames(page_);
        return S_OK;
    }

private:
    int frame_;
};

class TFakeBrowser final : public web_stubs::TWebBrowser2Stub, TFakeObject {
public:
    explicit TFakeBrowser(TPagePtr page) : TFakeObject(std::move(page)) {}
    TOLVEX_FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IWebBrowser) ||
            iid == __uuidof(IWebBrowserApp) || iid == __uuidof(IWebBrowser2))
            return Answer(out, static_cast<IWebBrowser2*>(this));
        return Answer(out, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** p) override {
        if (!p)
            return E_POINTER;
        // A browser showing something else hands over a dispatch object of another kind.
        if (page_->Layout.NotHtml)
            *p = static_cast<IWebBrowser2*>(new TFakeBrowser(page_));
        else
            *p = static_cast<IHTMLDocument2*>(new TFakeDocument(page_, -1));
        return S_OK;
    }
};

#undef TOLVEX_FAKE_REFCOUNT

inline HRESULT STDMETHODCALLTYPE TFakeWindow::get_document(IHTMLDocument2** p) {
    if (!p)
        return E_POINTER;
    *p = new TFakeDocument(page_, frame_);
    return S_OK;
}

inline HRESULT STDMETHODCALLTYPE TFakeWindow::QueryService(REFGUID service, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    // The browser service of the top window is known by the browser application's identifier.
    if (frame_ >= 0 || page_->Layout.NoBrowser || service != __uuidof(IWebBrowserApp))
        return E_NOINTERFACE;
    IWebBrowser2* browser = new TFakeBrowser(page_);
    const HRESULT hr = browser->QueryInterface(iid, out);
    browser->Release();
    return hr;
}

// The view window class of the browser control.
constexpr const wchar_t* kViewClass = L"Internet Explorer_Server";

// The view window: shows the page, and hands out its document through LresultFromObject.
class TFakeView {
public:
    TFakeView(const TPageLayout& layout, const std::wstring& title = L"", int x = 60, int y = 60)
        : page_(std::make_shared<TFakePage>(layout)) {
        Register();
        wnd_ =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kViewClass, title.c_str(), WS_POPUP, x, y,
                            layout.Width, layout.Height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        page_->Wnd = wnd_;
        ShowWindow(wnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(wnd_);
    }
    TFakeView(const TFakeView&) = delete;
    TFakeView& operator=(const TFakeView&) = delete;
    ~TFakeView() {
        if (IsWindow(wnd_))
            DestroyWindow(wnd_);
        page_->Wnd = nullptr;
    }
    HWND Wnd() const { return wnd_; }
    TFakePage& Page() { return *page_; }
    // Whether the screen shows the view's picture at its corners.
    bool Shown() const {
        RECT r{};
        if (!GetWindowRect(wnd_, &r))
            return false;
        const HDC screen = GetDC(nullptr);
        bool shown = true;
        for (const POINT p : {POINT{0, 0}, POINT{r.right - r.left - 1, r.bottom - r.top - 1}}) {
            const std::uint32_t rgb = page_->ViewPixel(p.x, p.y);
            const COLORREF expected = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
            shown = shown && GetPixel(screen, r.left + p.x, r.top + p.y) == expected;
        }
        ReleaseDC(nullptr, screen);
        return shown;
    }
    // Times the view was asked for its document.
    int Requests() const { return requests_; }

private:
    using TLresultFromObject = LRESULT(WINAPI*)(REFIID riid, WPARAM wParam, LPUNKNOWN object);

    static void Register() {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(GetModuleHandleW(nullptr), kViewClass, &wc))
            return;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TFakeView::WndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.lpszClassName = kViewClass;
        RegisterClassExW(&wc);
    }

    LRESULT ObjectAnswer(WPARAM wParam) {
        ++requests_;
        if (page_->Layout.BogusAnswer)
            return page_->Layout.BogusAnswer;
        static const auto lresultFromObject = [] {
            HMODULE oleacc = LoadLibraryW(L"Oleacc.dll");
            return oleacc ? reinterpret_cast<TLresultFromObject>(
                                reinterpret_cast<void*>(GetProcAddress(oleacc, "LresultFromObject")))
                          : nullptr;
        }();
        if (!lresultFromObject)
            return 0;
        IHTMLDocument2* document = new TFakeDocument(page_, -1);
        const LRESULT answer = lresultFromObject(__uuidof(IHTMLDocument2), wParam, document);
        document->Release();
        return answer;
    }

    static LRESULT CALLBACK WndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        // Nothing may unwind into the system: a failure answers nothing.
        try {
            return Dispatch(wnd, message, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }

    static LRESULT Dispatch(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
        static const UINT getObject = RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(
                wnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<TFakeView*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (self && message == getObject)
            return self->ObjectAnswer(wParam);
        if (self && message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            self->page_->Paint(dc);
            EndPaint(wnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND)
            return 1;
        return DefWindowProcW(wnd, message, wParam, lParam);
    }

    TPagePtr page_;
    HWND wnd_ = nullptr;
    int requests_ = 0;
};

} // namespace fake_web
