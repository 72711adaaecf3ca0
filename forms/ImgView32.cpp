#include "forms/ImgView32.h"

#include <windows.h>

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "forms/Form.h"
#include "forms/Handles.h"

namespace {
TShiftState ShiftStateOf(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    // Mouse messages carry no Alt state; the keyboard tells it.
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

TPoint PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

int Nearest(double v) {
    return static_cast<int>(std::clamp(std::nearbyint(v), -1e9, 1e9));
}

// Fills the part of r that lies inside the buffer.
void FillRectS(TBitmap32& b, const TRect& r, TColor32 c) {
    const TRect clipped = r.Intersect(TRect{0, 0, b.Width(), b.Height()});
    for (int y = clipped.Top; y < clipped.Bottom; ++y)
        std::fill(b.ScanLine(y) + clipped.Left, b.ScanLine(y) + clipped.Right, c);
}

void FrameRectS(TBitmap32& b, const TRect& r, TColor32 c) {
    FillRectS(b, {r.Left, r.Top, r.Right, r.Top + 1}, c);
    FillRectS(b, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
    FillRectS(b, {r.Left, r.Top, r.Left + 1, r.Bottom}, c);
    FillRectS(b, {r.Right - 1, r.Top, r.Right, r.Bottom}, c);
}

TColor32 SystemColor32(int index) {
    return Color32(static_cast<TColor>(GetSysColor(index)));
}
} // namespace

// ---- layers

void TCustomLayer::SetLayerOptions(std::uint32_t options) {
    if (ChangeProperty(options_, options))
        Changed();
}

void TCustomLayer::Changed() {
    view_.Changed();
}

void TCustomLayer::SetAsMouseListener() {
    view_.SetMouseListener(this);
}

void TPositionedLayer::SetLocation(const TFloatRect& location) {
    if (ChangeProperty(location_, location))
        Changed();
}

void TPositionedLayer::SetScaled(bool scaled) {
    if (ChangeProperty(scaled_, scaled))
        Changed();
}

TFloatRect TPositionedLayer::GetAdjustedLocation(const TViewMapping& mapping) const {
    return scaled_ ? mapping.BitmapToControlRect(location_) : location_;
}

TFloatRect TPositionedLayer::GetAdjustedLocation() const {
    return GetAdjustedLocation(View().Mapping());
}

bool TPositionedLayer::HitTest(TPoint p) const {
    const TFloatRect r = GetAdjustedLocation();
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

void TBitmapLayer::SetDrawMode(TDrawMode mode) {
    if (ChangeProperty(drawMode_, mode))
        Changed();
}

void TBitmapLayer::SetMasterAlpha(std::uint8_t alpha) {
    if (ChangeProperty(masterAlpha_, alpha))
        Changed();
}

void TBitmapLayer::Paint(TBitmap32& buffer, const TViewMapping& mapping) {
    if (bitmap_.Empty())
        return;
    const TFloatRect r = GetAdjustedLocation(mapping);
    DrawNearest(buffer, bitmap_, r.Left, r.Top, r.Width() / bitmap_.Width(), r.Height() / bitmap_.Height(),
                drawMode_, masterAlpha_);
}

TRubberbandLayer::TRubberbandLayer(TImgView32& view) : TPositionedLayer(view) {
    SetLayerOptions(LOB_VISIBLE | LOB_MOUSE_EVENTS);
}

void TRubberbandLayer::SetChildLayer(TPositionedLayer* child) {
    child_ = child;
    if (child_) {
        SetScaled(child_->Scaled());
        SetLocation(child_->Location());
    }
}

void TRubberbandLayer::SetLocation(const TFloatRect& location) {
    TPositionedLayer::SetLocation(location);
    if (child_)
        child_->SetLocation(location);
}

TRect TRubberbandLayer::FrameRect() const {
    const TFloatRect r = GetAdjustedLocation();
    return {Nearest(r.Left), Nearest(r.Top), Nearest(r.Right), Nearest(r.Bottom)};
}

void TRubberbandLayer::Paint(TBitmap32& buffer, const TViewMapping& mapping) {
    const TFloatRect f = GetAdjustedLocation(mapping);
    const TRect r{Nearest(f.Left), Nearest(f.Top), Nearest(f.Right), Nearest(f.Bottom)};
    // A black frame with white handles edged in black shows on any picture.
    FrameRectS(buffer, r, 0xFF000000);
    TRect handles[8];
    RubberbandHandles(r, handles);
    for (const TRect& h : handles) {
        FillRectS(buffer, h, 0xFFFFFFFF);
        FrameRectS(buffer, h, 0xFF000000);
    }
}

bool TRubberbandLayer::HitTest(TPoint p) const {
    return RubberbandHitTest(FrameRect(), p) != TRBDragState::dsNone;
}

HCURSOR TRubberbandLayer::CursorAt(TPoint p) const {
    using enum TRBDragState;
    const TRBDragState state = dragState_ != dsNone ? dragState_ : RubberbandHitTest(FrameRect(), p);
    switch (state) {
    case dsSizeL:
    case dsSizeR:
        return LoadCursorW(nullptr, IDC_SIZEWE);
    case dsSizeT:
    case dsSizeB:
        return LoadCursorW(nullptr, IDC_SIZENS);
    case dsSizeTL:
    case dsSizeBR:
        return LoadCursorW(nullptr, IDC_SIZENWSE);
    case dsSizeTR:
    case dsSizeBL:
        return LoadCursorW(nullptr, IDC_SIZENESW);
    default:
        return Cursor();
    }
}

void TRubberbandLayer::MouseDown(TMouseButton button, TShiftState, TPoint p) {
    if (button != TMouseButton::Left)
        return;
    dragState_ = RubberbandHitTest(FrameRect(), p);
    dragStartLocation_ = Location();
    dragStartPoint_ = ToLocationUnits(p);
}

TFloatRect TRubberbandLayer::ToLocationUnits(TPoint p) const {
    // A scaled frame moves in image pixels, so a drag stays right while the view scrolls.
    if (!Scaled())
        return {static_cast<double>(p.X), static_cast<double>(p.Y), 0, 0};
    const TViewMapping m = View().Mapping();
    return {m.ControlToBitmapX(p.X), m.ControlToBitmapY(p.Y), 0, 0};
}

void TRubberbandLayer::MouseMove(TShiftState shift, TPoint p) {
    if (dragState_ == TRBDragState::dsNone)
        return;
    const TFloatRect now = ToLocationUnits(p);
    const double dx = now.Left - dragStartPoint_.Left;
    const double dy = now.Top - dragStartPoint_.Top;
    TFloatRect next = RubberbandDrag(dragState_, dragStartLocation_, dx, dy, minWidth_, minHeight_);
    const TFloatRect old = Location();
    if (OnResizing)
        OnResizing(this, old, next, dragState_, shift);
    SetLocation(next);
}

void TRubberbandLayer::MouseUp(TMouseButton button, TShiftState, TPoint) {
    if (button == TMouseButton::Left)
        dragState_ = TRBDragState::dsNone;
}

void TRubberbandLayer::LayerRemoved(TCustomLayer* layer) {
    if (layer == child_)
        child_ = nullptr;
}

// ---- the view

TImgView32::TImgView32(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    stages_ = {{PST_CLEAR_BACKGND, 0}, {PST_DRAW_BITMAP, 0}, {PST_DRAW_LAYERS, LOB_VISIBLE}};
    CreateOwnWindow(L"TolvexImgView32", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0,
                    parent->Handle(), 0, 0, 192, 192, nullptr, CS_DBLCLKS);
    UpdateScrollBars();
}

TImgView32::~TImgView32() {
    // Layers may point at each other; drop the links before any of them goes.
    mouseLayer_ = nullptr;
    layers_.clear();
}

void TImgView32::SetBitmap(const TBitmap32& bitmap) {
    bitmap_ = bitmap;
    BitmapChanged();
}

void TImgView32::SetBitmap(TBitmap32&& bitmap) {
    bitmap_ = std::move(bitmap);
    BitmapChanged();
}

void TImgView32::BitmapChanged() {
    UpdateScrollBars();
    Changed();
}

void TImgView32::SetBitmapDrawMode(TDrawMode mode) {
    if (ChangeProperty(drawMode_, mode))
        Invalidate();
}

void TImgView32::SetScale(double scale) {
    if (!ChangeProperty(scale_, ClampViewScale(scale)))
        return;
    UpdateScrollBars();
    Changed();
}

void TImgView32::SetBitmapAlign(TBitmapAlign align) {
    if (ChangeProperty(align_, align))
        Changed();
}

TScrollAxis TImgView32::HorzAxis() const {
    return {ScaledExtent(bitmap_.Width(), scale_), GetViewportRect().Width()};
}

TScrollAxis TImgView32::VertAxis() const {
    return {ScaledExtent(bitmap_.Height(), scale_), GetViewportRect().Height()};
}

double TImgView32::OffsetHorz() const {
    return HorzAxis().Offset(scrollX_, align_ == TBitmapAlign::Center);
}

double TImgView32::OffsetVert() const {
    return VertAxis().Offset(scrollY_, align_ == TBitmapAlign::Center);
}

TRect TImgView32::GetViewportRect() const {
    RECT r{};
    if (Handle())
        GetClientRect(Handle(), &r);
    return {r.left, r.top, r.right, r.bottom};
}

void TImgView32::UpdateScrollBars() {
    if (!Handle())
        return;
    // Positions stay within the ranges the new size or scale leaves.
    scrollX_ = HorzAxis().Clamp(scrollX_);
    scrollY_ = VertAxis().Clamp(scrollY_);
    const auto set = [&](int bar, const TScrollAxis& axis, int pos) {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = std::max(axis.Content, axis.Viewport) - 1;
        si.nPage = static_cast<UINT>(std::max(axis.Viewport, 0));
        si.nPos = pos;
        SetScrollInfo(Handle(), bar, &si, TRUE);
    };
    set(SB_HORZ, HorzAxis(), scrollX_);
    set(SB_VERT, VertAxis(), scrollY_);
}

void TImgView32::ScrollTo(std::int64_t x, std::int64_t y) {
    const int nx = HorzAxis().Clamp(x);
    const int ny = VertAxis().Clamp(y);
    if (nx == scrollX_ && ny == scrollY_)
        return;
    scrollX_ = nx;
    scrollY_ = ny;
    UpdateScrollBars();
    Changed();
}

void TImgView32::Scroll(int dx, int dy) {
    ScrollTo(std::int64_t{scrollX_} + dx, std::int64_t{scrollY_} + dy);
}

void TImgView32::HandleScrollBar(int bar, WORD code) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(Handle(), bar, &si);
    const TScrollAxis axis = bar == SB_HORZ ? HorzAxis() : VertAxis();
    std::int64_t pos = bar == SB_HORZ ? scrollX_ : scrollY_;
    constexpr int kLine = 16;
    switch (code) {
    case SB_LINEUP:
        pos -= kLine;
        break;
    case SB_LINEDOWN:
        pos += kLine;
        break;
    case SB_PAGEUP:
        pos -= axis.Viewport;
        break;
    case SB_PAGEDOWN:
        pos += axis.Viewport;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = si.nTrackPos;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = axis.Max();
        break;
    default:
        return;
    }
    if (bar == SB_HORZ)
        ScrollTo(pos, scrollY_);
    else
        ScrollTo(scrollX_, pos);
}

void TImgView32::Changed() {
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TImgView32::Invalidate() {
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TImgView32::Update() {
    if (Handle())
        UpdateWindow(Handle());
}

TRect TImgView32::OpaqueBitmapRect() const {
    if (drawMode_ != TDrawMode::dmOpaque)
        return {};
    const TRect vp = GetViewportRect();
    const TViewMapping mapping = Mapping();
    return NearestCoverage(vp.Width(), vp.Height(), bitmap_.Width(), bitmap_.Height(), mapping.OffsetHorz,
                           mapping.OffsetVert, scale_, scale_);
}

void TImgView32::RenderStages() {
    const TRect vp = GetViewportRect();
    if (buffer_.Width() != vp.Width() || buffer_.Height() != vp.Height())
        buffer_.SetSize(std::max(vp.Width(), 0), std::max(vp.Height(), 0));
    const TViewMapping mapping = Mapping();
    // A copy: a stage handler may change the list for the next repaint.
    const std::vector<TPaintStage> stages = stages_;
    for (std::size_t i = 0; i < stages.size(); ++i) {
        switch (stages[i].Stage) {
        case PST_CUSTOM:
            if (OnPaintStage)
                OnPaintStage(this, buffer_, static_cast<unsigned>(i));
            break;
        case PST_CLEAR_BACKGND:
            buffer_.Clear(SystemColor32(COLOR_BTNFACE));
            break;
        case PST_DRAW_BITMAP:
            DrawNearest(buffer_, bitmap_, mapping.OffsetHorz, mapping.OffsetVert, scale_, scale_, drawMode_);
            break;
        case PST_DRAW_LAYERS:
            for (const auto& layer : layers_)
                if ((layer->LayerOptions() & stages[i].Parameter) == stages[i].Parameter)
                    layer->Paint(buffer_, mapping);
            break;
        default:
            break;
        }
    }
}

void TImgView32::PaintView(HDC dc) {
    RenderStages();
    if (buffer_.Empty())
        return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = buffer_.Width();
    bi.bmiHeader.biHeight = -buffer_.Height(); // rows from the top, as the buffer holds them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, 0, 0, buffer_.Width(), buffer_.Height(), 0, 0, buffer_.Width(), buffer_.Height(),
                  buffer_.Bits(), &bi, DIB_RGB_COLORS, SRCCOPY);
}

void TImgView32::PaintTo(TBitmap32& dest, const TRect& destRect) {
    const TRect clip = destRect.Intersect(TRect{0, 0, dest.Width(), dest.Height()});
    if (clip.IsEmpty())
        return;
    if (clip == destRect && clip == TRect{0, 0, dest.Width(), dest.Height()}) {
        // The whole of dest (a merge of the selection): drawn in place, with no piece to
        // copy out and back.
        const TViewMapping mapping{0.0, 0.0, 1.0};
        DrawNearest(dest, bitmap_, 0, 0, 1, 1, drawMode_);
        for (const auto& layer : layers_)
            if (layer->Visible())
                layer->Paint(dest, mapping);
        return;
    }
    // Render into a piece the size of the target rectangle, then copy it in.
    TBitmap32 piece(clip.Width(), clip.Height());
    for (int y = 0; y < piece.Height(); ++y)
        std::copy_n(dest.ScanLine(clip.Top + y) + clip.Left, piece.Width(), piece.ScanLine(y));
    const TViewMapping mapping{static_cast<double>(destRect.Left - clip.Left),
                               static_cast<double>(destRect.Top - clip.Top), 1.0};
    DrawNearest(piece, bitmap_, mapping.OffsetHorz, mapping.OffsetVert, 1, 1, drawMode_);
    for (const auto& layer : layers_)
        if (layer->Visible())
            layer->Paint(piece, mapping);
    for (int y = 0; y < piece.Height(); ++y)
        std::copy_n(piece.ScanLine(y), piece.Width(), dest.ScanLine(clip.Top + y) + clip.Left);
}

void TImgView32::DeleteLayer(TCustomLayer* layer) {
    const auto it =
        std::find_if(layers_.begin(), layers_.end(), [&](const auto& owned) { return owned.get() == layer; });
    if (it == layers_.end())
        return;
    for (const auto& other : layers_)
        other->LayerRemoved(layer);
    if (mouseLayer_ == layer)
        mouseLayer_ = nullptr;
    layers_.erase(it);
    Changed();
}

void TImgView32::ClearLayers() {
    mouseLayer_ = nullptr;
    if (layers_.empty())
        return;
    for (const auto& layer : layers_)
        for (const auto& other : layers_)
            other->LayerRemoved(layer.get());
    layers_.clear();
    Changed();
}

void TImgView32::SetMouseListener(TCustomLayer* layer) {
    if (layer == mouseLayer_)
        return;
    // Only a layer of this view can listen; a foreign one would outlive its view's knowledge.
    if (layer &&
        std::none_of(layers_.begin(), layers_.end(), [&](const auto& owned) { return owned.get() == layer; }))
        return;
    TCustomLayer* previous = mouseLayer_;
    mouseLayer_ = layer;
    if (previous)
        previous->MouseLost();
}

TCustomLayer* TImgView32::FindLayerAt(TPoint p) const {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        const std::uint32_t o = (*it)->LayerOptions();
        if ((o & LOB_MOUSE_EVENTS) && (o & LOB_VISIBLE) && (*it)->HitTest(p))
            return it->get();
    }
    return nullptr;
}

void TImgView32::MouseButton(UINT msg, WPARAM keys, TPoint p) {
    TShiftState shift = ShiftStateOf(keys);
    TMouseButton button = TMouseButton::Left;
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK)
        button = TMouseButton::Right;
    else if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK)
        button = TMouseButton::Middle;
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                      msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    if (down) {
        if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK)
            shift |= ssDouble;
        SetFocus(Handle());
        SetCapture(Handle());
        if (!mouseLayer_)
            mouseLayer_ = FindLayerAt(p);
        TCustomLayer* layer = mouseLayer_;
        if (layer)
            layer->MouseDown(button, shift, p);
        if (msg == WM_LBUTTONDBLCLK && OnDblClick)
            OnDblClick(this);
        if (OnMouseDown)
            OnMouseDown(this, button, shift, p.X, p.Y, layer);
        return;
    }
    TCustomLayer* layer = mouseLayer_ ? mouseLayer_ : FindLayerAt(p);
    // The press ends when no button is held any more.
    if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        mouseLayer_ = nullptr;
        if (GetCapture() == Handle()) {
            releasing_ = true;
            ReleaseCapture();
            releasing_ = false;
        }
    }
    if (layer)
        layer->MouseUp(button, shift, p);
    if (OnMouseUp)
        OnMouseUp(this, button, shift, p.X, p.Y, layer);
}

void TImgView32::MouseMoved(WPARAM keys, TPoint p) {
    const TRect vp = GetViewportRect();
    const bool inside = p.X >= vp.Left && p.Y >= vp.Top && p.X < vp.Right && p.Y < vp.Bottom;
    if (inside && !over_) {
        over_ = true;
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        TrackMouseEvent(&track);
        if (OnMouseEnter)
            OnMouseEnter(this);
    } else if (!inside && over_) {
        // While a press holds the mouse, moves outside arrive here too: the only sign
        // that the pointer left during a drag.
        over_ = false;
        if (OnMouseLeave)
            OnMouseLeave(this);
    }
    const TShiftState shift = ShiftStateOf(keys);
    TCustomLayer* layer = mouseLayer_ ? mouseLayer_ : FindLayerAt(p);
    if (layer)
        layer->MouseMove(shift, p);
    if (OnMouseMove)
        OnMouseMove(this, shift, p.X, p.Y, layer);
}

// ---- the size grip

bool TImgView32::SizeGripVisible() const {
    const HWND form = Owner() ? Owner()->Handle() : nullptr;
    if (!form || !Handle())
        return false;
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
    return (style & WS_THICKFRAME) != 0 && !IsZoomed(form) && !IsIconic(form);
}

RECT TImgView32::SizeGripRect() const {
    // The client area ends where the scroll bars begin; the corner lies past both.
    RECT window{};
    GetWindowRect(Handle(), &window);
    POINT clientEnd{};
    RECT client{};
    GetClientRect(Handle(), &client);
    clientEnd = {client.right, client.bottom};
    ClientToScreen(Handle(), &clientEnd);
    return {clientEnd.x - window.left, clientEnd.y - window.top,
            clientEnd.x - window.left + GetSystemMetrics(SM_CXVSCROLL),
            clientEnd.y - window.top + GetSystemMetrics(SM_CYHSCROLL)};
}

void TImgView32::PaintSizeGrip() {
    if (!SizeGripVisible())
        return;
    const TWindowDC dc(Handle(), TWindowDC::WholeWindow);
    if (!dc)
        return;
    RECT corner = SizeGripRect();
    DrawFrameControl(dc.Get(), &corner, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TImgView32::DragSizeGrip(POINT screen) {
    // The form follows the pointer by as much as it moved since the press, down to the
    // smallest size a window can be dragged to.
    const HWND form = Owner()->Handle();
    const int width =
        std::max<int>(gripStartSize_.cx + (screen.x - gripStart_.x), GetSystemMetrics(SM_CXMINTRACK));
    const int height =
        std::max<int>(gripStartSize_.cy + (screen.y - gripStart_.y), GetSystemMetrics(SM_CYMINTRACK));
    SetWindowPos(form, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TImgView32::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCPAINT: {
        const LRESULT result = TControl::WndProc(msg, wParam, lParam);
        PaintSizeGrip();
        return result;
    }
    case WM_NCHITTEST: {
        if (SizeGripVisible()) {
            RECT window{};
            GetWindowRect(Handle(), &window);
            const RECT corner = SizeGripRect();
            const POINT p{GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
            if (PtInRect(&corner, p))
                return HTBOTTOMRIGHT;
        }
        break;
    }
    case WM_NCLBUTTONDOWN:
        // The view itself is never sized by the mouse: without the grip the press does nothing.
        if (wParam == HTBOTTOMRIGHT) {
            if (!SizeGripVisible())
                return 0;
            RECT form{};
            GetWindowRect(Owner()->Handle(), &form);
            gripStart_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            gripStartSize_ = {form.right - form.left, form.bottom - form.top};
            gripDragging_ = true;
            SetCapture(Handle());
            return 0;
        }
        break;
    default:
        break;
    }
    // While the grip is dragged, the mouse belongs to it and not to the layers or tools.
    if (gripDragging_ && (msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP)) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &p);
        DragSizeGrip(p);
        if (msg == WM_LBUTTONUP) {
            releasing_ = true; // the grip's own end, no capture lost by a press
            ReleaseCapture();
            releasing_ = false;
        }
        return 0;
    }
    if (msg == WM_CAPTURECHANGED)
        gripDragging_ = false;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        if (HDC dc = BeginPaint(Handle(), &ps)) {
            // A failing stage handler must still give the painting's device context back.
            try {
                PaintView(dc);
            } catch (...) {
                EndPaint(Handle(), &ps);
                throw;
            }
            EndPaint(Handle(), &ps);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        // Painting into a given device context (a print of the window, a test's memory DC).
        PaintView(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // The stages paint every pixel; erasing first would only flicker.
        return 1;
    case WM_SIZE:
        UpdateScrollBars();
        Invalidate();
        // The grip comes and goes with the form's state (maximised or not).
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        break;
    case WM_HSCROLL:
        HandleScrollBar(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        HandleScrollBar(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        MouseButton(msg, wParam, PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        MouseMoved(wParam, PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        if (over_) {
            over_ = false;
            if (OnMouseLeave)
                OnMouseLeave(this);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // A press whose release went elsewhere (another window or a message box took the
        // mouse) ends its layer's drag and the owner's.
        if (reinterpret_cast<HWND>(lParam) != Handle() && !releasing_) {
            if (TCustomLayer* layer = std::exchange(mouseLayer_, nullptr))
                layer->MouseUp(TMouseButton::Left, 0, {});
            if (OnMouseCaptureLost)
                OnMouseCaptureLost(this);
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT pt{};
            GetCursorPos(&pt);
            ScreenToClient(Handle(), &pt);
            const TPoint p{pt.x, pt.y};
            TCustomLayer* layer = mouseLayer_ ? mouseLayer_ : FindLayerAt(p);
            HCURSOR c = layer ? layer->CursorAt(p) : nullptr;
            if (!c)
                c = cursor_ ? cursor_ : LoadCursorW(nullptr, IDC_ARROW);
            ::SetCursor(c);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
