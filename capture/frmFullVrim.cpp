#include "capture/frmFullVrim.h"

#include <windows.h>

#include <windowsx.h>

#include "capture/CaptureHost.h"
#include "capture/unitCaptureLib.h"
#include "forms/Handles.h"
#include "forms/Strings.h"

TFullVrimForm* FullVrimForm = nullptr;

namespace {
// Posted when the overlay shows, so that its start runs even when the system gives it no
// activation.
constexpr UINT kStartSelectMessage = WM_APP + 0x21;
constexpr COLORREF kBandColor = 0x008000;
constexpr COLORREF kCrossColor = 0x0000FF;
constexpr TSize kZoomPanelSize{209, 247};
constexpr int kZoomViewLeft = 4;
constexpr RECT kPosLabel{12, 211, 12 + 183, 211 + 17};
constexpr RECT kSizeLabel{12, 226, 12 + 183, 226 + 13};
// The frame of the magnifier panel: light beige inside a grey and a black edge.
constexpr COLORREF kPanelFace = 0xDCF0F5;
constexpr COLORREF kPanelEdge = 0x808080;

TFormDesign OverlayDesign() {
    TFormDesign d;
    d.Border = TBorderStyle::None;
    d.Left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    d.Top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    d.Width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    d.Height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    d.FontName = L"\uAD74\uB9BC";
    d.FontHeight = -12;
    d.FontCharSet = HANGUL_CHARSET;
    return d;
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    const TGdiObject brush(CreateSolidBrush(color));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

void InvalidateOutline(HWND wnd, const TRect& r) {
    // The outline and a pixel around it, wherever the rectangle points.
    const TRect n = NormalizedRect(r.TopLeft(), {r.Right, r.Bottom});
    const RECT area{n.Left - 1, n.Top - 1, n.Right + 1, n.Bottom + 1};
    InvalidateRect(wnd, &area, FALSE);
}
} // namespace

TZoomPanel::TZoomPanel(TForm* owner, std::wstring name, TWindow* parent, TFullVrimForm& form)
    : TPaintedControl<TPanel>(owner, std::move(name), parent), form_(form) {}

void TZoomPanel::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillSolid(dc, client, 0x000000);
    RECT inner{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    FillSolid(dc, inner, kPanelEdge);
    InflateRect(&inner, -1, -1);
    FillSolid(dc, inner, kPanelFace);
    if (!imgZoom.Empty())
        BitBlt(dc, kZoomViewLeft, kZoomViewLeft, imgZoom.Width(), imgZoom.Height(), imgZoom.Canvas(), 0, 0,
               SRCCOPY);
    const HGDIOBJ oldFont = SelectObject(dc, form_.FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0x000000);
    for (const auto& [box, text] : {std::pair{kPosLabel, &lblPos}, std::pair{kSizeLabel, &lblSize}}) {
        RECT r = box;
        FillSolid(dc, r, 0xFFFFFF);
        DrawTextW(dc, text->c_str(), static_cast<int>(text->size()), &r,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}

void TZoomPanel::MouseMove(int, int) {
    form_.ZoomPanelMouseMove();
}

TFullVrimForm::TFullVrimForm(ICaptureHost& host)
    : TForm(nullptr, L"FullVrimForm", OverlayDesign()), host_(host), thousands_(LocaleThousandsSeparator()) {
    ZoomPanel = Make<TZoomPanel>(L"ZoomPanel", this, *this);
    ZoomPanel->SetBounds(0, 0, kZoomPanelSize.Width, kZoomPanelSize.Height);
    ZoomPanel->SetVisible(false);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

bool TFullVrimForm::RegionMode() const {
    return host_.CurrentCaptureMode() == TCaptureMode::Region;
}

bool TFullVrimForm::RectMode() const {
    return host_.CurrentCaptureMode() == TCaptureMode::Rect;
}

void TFullVrimForm::FormCreate(TObject*) {
    Dragging = false;
    Image1 = TBitmap(0, 0, TPixelFormat::pf24bit);
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TFullVrimForm::FormShow(TObject*) {
    // The desktop is frozen once, just before the overlay covers it, so the picture never
    // shows the overlay itself whatever the system paints for a window that paints nothing.
    OnShow = nullptr;
    CaptureScreenToBitmap(Image1, true);
    PostMessageW(Handle(), kStartSelectMessage, 0, 0);
}

void TFullVrimForm::FormActivate(TObject*) {
    OnActivate = nullptr;
    SetForegroundWindow(Handle());
    if (RegionMode()) {
        ZoomCorner = TZoomCorner::None;
        ZoomMonitor = 0;
        PlaceZoomPanel();
        ZoomPanel->imgZoom = TBitmap(kMagnifierSize, kMagnifierSize, TPixelFormat::pf24bit);
        ZoomPanel->SetVisible(true);
    } else if (RectMode()) {
        SelectionWidth = SelectionRect.Right;
        SelectionHeight = SelectionRect.Bottom;
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(Handle(), &p);
        PlaceFixedRect({p.x, p.y});
        DrawBand();
    }
}

void TFullVrimForm::DrawBand() {
    if (Image1.Empty())
        return;
    const HDC dc = Image1.Canvas();
    const TGdiObject pen(CreatePen(PS_SOLID, 1, kBandColor));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int oldRop = SetROP2(dc, R2_XORPEN);
    const TRect n = NormalizedRect(SelectionRect.TopLeft(), {SelectionRect.Right, SelectionRect.Bottom});
    Rectangle(dc, n.Left, n.Top, n.Right, n.Bottom);
    SetROP2(dc, oldRop);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    bandShown_ = !bandShown_;
    InvalidateOutline(Handle(), SelectionRect);
}

void TFullVrimForm::PlaceFixedRect(TPoint center) {
    // The rectangle may reach past the desktop's edge; that part holds no screen content.
    SelectionRect = CenteredRect(center, {SelectionWidth, SelectionHeight});
}

void TFullVrimForm::Image1MouseDown(TMouseButton button, int x, int y) {
    if (ended_)
        return;
    if (button == TMouseButton::Right) {
        EndSelection(false);
        return;
    }
    if (!RegionMode())
        return;
    // A second press during a drag starts the band again from the new point.
    if (bandShown_)
        DrawBand();
    Dragging = true;
    SelectionRect = {x, y, x, y};
}

void TFullVrimForm::Image1MouseMove(int x, int y) {
    if (ended_)
        return;
    if (RegionMode()) {
        if (Dragging) {
            if (bandShown_)
                DrawBand();
            SelectionRect.Right = x;
            SelectionRect.Bottom = y;
            DrawBand();
            UpdateMagnifier({x, y});
        } else {
            UpdateMagnifier({x, y});
        }
        PlaceZoomPanel();
    } else if (RectMode()) {
        if (bandShown_)
            DrawBand();
        PlaceFixedRect({x, y});
        DrawBand();
    }
}

void TFullVrimForm::Image1MouseUp(TMouseButton, int x, int y) {
    if (ended_)
        return;
    // The picture must be clean before the caller cuts the area out of it.
    if (bandShown_)
        DrawBand();
    if (Dragging) {
        SelectionRect = NormalizedRect(SelectionRect.TopLeft(), {x, y});
        SelectionWidth = SelectionRect.Width();
        SelectionHeight = SelectionRect.Height();
    } else if (RectMode()) {
        PlaceFixedRect({x, y});
    } else {
        // A release without a press: nothing was selected.
        SelectionRect = {x, y, x, y};
    }
    EndSelection(SelectionAccepted(SelectionRect) && SelectionWidth > 0 && SelectionHeight > 0);
}

void TFullVrimForm::EndSelection(bool accepted) {
    ended_ = true;
    // However the selection ends, the picture is left without the band.
    if (bandShown_)
        DrawBand();
    if (GetCapture() == Handle())
        ReleaseCapture();
    if (accepted)
        ModalResult = mrOk;
    else
        Close();
}

void TFullVrimForm::ZoomPanelMouseMove() {
    PlaceZoomPanel();
}

void TFullVrimForm::FormKeyDown(WORD& key) {
    if (key == VK_ESCAPE && !ended_)
        EndSelection(false);
}

void TFullVrimForm::FormClose(TObject*, TCloseAction&) {
    if (RegionMode())
        ZoomPanel->imgZoom = TBitmap();
}

void TFullVrimForm::UpdateMagnifier(TPoint center) {
    ZoomPanel->lblPos = PositionText(center, thousands_);
    if (Dragging)
        ZoomPanel->lblSize = SelectionSizeText(SelectionRect.Right - SelectionRect.Left,
                                               SelectionRect.Bottom - SelectionRect.Top, thousands_);
    TBitmap& view = ZoomPanel->imgZoom;
    if (!view.Empty()) {
        const RECT whole{0, 0, view.Width(), view.Height()};
        FillSolid(view.Canvas(), whole, 0x000000);
        // Only the part of the square that lies on the picture is copied; the rest stays black.
        const TRect square = MagnifierSource(center);
        const TRect part = square.Intersect({0, 0, Image1.Width(), Image1.Height()});
        if (!part.IsEmpty()) {
            constexpr int scale = kMagnifierSize / kMagnifierSpan;
            SetStretchBltMode(view.Canvas(), COLORONCOLOR);
            StretchBlt(view.Canvas(), (part.Left - square.Left) * scale, (part.Top - square.Top) * scale,
                       part.Width() * scale, part.Height() * scale, Image1.Canvas(), part.Left, part.Top,
                       part.Width(), part.Height(), SRCCOPY);
        }
        // The red cross marks the pointer's pixel at the view's centre.
        FillSolid(view.Canvas(), RECT{99, 90, 101, 110}, kCrossColor);
        FillSolid(view.Canvas(), RECT{90, 99, 110, 101}, kCrossColor);
    }
    InvalidateRect(ZoomPanel->Handle(), nullptr, FALSE);
    if (!Dragging)
        UpdateWindow(ZoomPanel->Handle());
}

void TFullVrimForm::PlaceZoomPanel() {
    POINT p{};
    GetCursorPos(&p);
    RECT own{};
    GetWindowRect(Handle(), &own);
    const auto monitors = SystemMonitors();
    const TZoomPlace place =
        ::PlaceZoomPanel(monitors, {p.x, p.y}, ZoomCorner, ZoomMonitor, kZoomPanelSize, {own.left, own.top});
    ZoomCorner = place.Corner;
    ZoomMonitor = place.Monitor;
    if (place.Moved)
        ZoomPanel->SetBounds(place.Position.X, place.Position.Y, kZoomPanelSize.Width, kZoomPanelSize.Height);
}

LRESULT TFullVrimForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (msg) {
    case kStartSelectMessage:
        DoActivate();
        return 0;
    case WM_ERASEBKGND:
        // The picture covers everything; nothing is erased first.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        if (HDC dc = BeginPaint(Handle(), &ps)) {
            if (!Image1.Empty())
                BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                       ps.rcPaint.bottom - ps.rcPaint.top, Image1.Canvas(), ps.rcPaint.left, ps.rcPaint.top,
                       SRCCOPY);
            EndPaint(Handle(), &ps);
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Handle()) {
            ::SetCursor(cursor_ ? cursor_ : LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        SetCapture(Handle());
        Image1MouseDown(msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? TMouseButton::Left
                                                                         : TMouseButton::Middle,
                        x, y);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        Image1MouseDown(TMouseButton::Right, x, y);
        return 0;
    case WM_MOUSEMOVE:
        Image1MouseMove(x, y);
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse during a drag (a message box, a switch to another
        // program): no release will come, so the drag ends here with the band erased and
        // the magnifier following the pointer again; the next press starts a new band.
        if (Dragging && !ended_ && reinterpret_cast<HWND>(lParam) != Handle()) {
            if (bandShown_)
                DrawBand();
            Dragging = false;
        }
        break;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        Image1MouseUp(msg == WM_LBUTTONUP
                          ? TMouseButton::Left
                          : (msg == WM_MBUTTONUP ? TMouseButton::Middle : TMouseButton::Right),
                      x, y);
        return 0;
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        FormKeyDown(key);
        return 0;
    }
    default:
        break;
    }
    return TForm::WndProc(msg, wParam, lParam);
}
