#include "shell/components/BarPopupMenu.h"

#include <windows.h>

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Graphics.h"

namespace {
// The caption of items that keep their place but take no part in the bar.
constexpr wchar_t kHiddenCaption[] = L"#";

// Selects a GDI object into a canvas until the end of the scope.
class TSelected {
public:
    TSelected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    TSelected(const TSelected&) = delete;
    TSelected& operator=(const TSelected&) = delete;
    ~TSelected() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
} // namespace

TBarPopupMenu::TBarPopupMenu(TForm* owner, std::wstring name) : TPopupMenu(owner, std::move(name)) {
    OwnerDraw = true;
    if (Application)
        VerticalText = Application->Title;
}

TBarPopupMenu::~TBarPopupMenu() = default;

TBitmap& TBarPopupMenu::Bitmap() {
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
        transparent_ = true;
    }
    return *bitmap_;
}

void TBarPopupMenu::SetBitmap(const TBitmap& bitmap) {
    TBitmap& own = Bitmap();
    own.SetSize(bitmap.Width(), bitmap.Height());
    if (!bitmap.Empty())
        BitBlt(own.Canvas(), 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Canvas(), 0, 0, SRCCOPY);
}

void TBarPopupMenu::SetTransparent(bool transparent) {
    if (bitmap_)
        transparent_ = transparent;
}

void TBarPopupMenu::PreparePopup() {
    barHeight_ = 0;
    barDone_ = false;
    // Only the first level carries the bar; sub-menus open without one.
    for (TMenuItem* item : Items()->Items()) {
        item->OnMeasureItem = [this](TMenuItem* s, HDC c, int& w, int& h) { MeasureItem(s, c, w, h); };
        item->OnAdvancedDrawItem = [this](TMenuItem* s, HDC c, const RECT& r, UINT st) {
            AdvancedDrawItem(s, c, r, st);
        };
    }
}

void TBarPopupMenu::Popup(int x, int y) {
    PreparePopup();
    TPopupMenu::Popup(x, y);
}

void TBarPopupMenu::MeasureItem(TMenuItem* sender, HDC, int& width, int& height) {
    if (!BarVisible)
        return;
    width += BarWidth;
    if (sender->Visible() && sender->Caption() != kHiddenCaption)
        barHeight_ += height;
}

void TBarPopupMenu::AdvancedDrawItem(TMenuItem* sender, HDC canvas, const RECT& rect, UINT state) {
    if (sender->Caption() == kHiddenCaption)
        return;
    RECT itemRect = rect;
    if (BarVisible)
        itemRect.left += BarWidth;
    sender->DrawStandard(canvas, itemRect, state);
    if (BarVisible && !barDone_)
        PaintBarSlice(canvas, rect);
}

void TBarPopupMenu::PaintBarSlice(HDC canvas, const RECT& rect) {
    // The gradient: each row takes its colour from its place in the whole bar.
    // A system colour is taken as the system shows it now, before it is split into bytes.
    const COLORREF start = ColorToRgb(GradientStart);
    const COLORREF end = ColorToRgb(GradientEnd);
    if (GradientStart == GradientEnd) {
        RECT fill{0, rect.top, BarWidth - 2, rect.bottom};
        const TGdiObject brush(CreateSolidBrush(start));
        FillRect(canvas, &fill, static_cast<HBRUSH>(brush.Get()));
    } else {
        for (int y = rect.top; y <= rect.bottom; ++y) {
            const TColor color =
                SideBarRowColor(static_cast<TColor>(start), static_cast<TColor>(end), y, barHeight_);
            RECT row{0, y, BarWidth - 2, y + 1};
            const TGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(color)));
            FillRect(canvas, &row, static_cast<HBRUSH>(brush.Get()));
        }
    }

    // The text, written upwards: every item writes the whole text from the same point,
    // clipped to its own rectangle, so the slices join into one text.
    LOGFONTW logFont{};
    logFont.lfHeight = VerticalFont.Height;
    logFont.lfEscapement = 900;
    logFont.lfWeight = VerticalFont.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = VerticalFont.Italic;
    logFont.lfUnderline = VerticalFont.Underline;
    logFont.lfStrikeOut = VerticalFont.StrikeOut;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfPitchAndFamily = VerticalFont.Pitch;
    lstrcpynW(logFont.lfFaceName, VerticalFont.Name.c_str(), LF_FACESIZE);
    const TGdiObject font(CreateFontIndirectW(&logFont));
    {
        const TSelected selected(canvas, font ? font.Get() : GetStockObject(DEFAULT_GUI_FONT));
        SIZE letter{};
        GetTextExtentPoint32W(canvas, L"X", 1, &letter);
        const int x = SideBarTextX(BarWidth, letter.cy);
        const int y = SideBarTextY(barHeight_, VerticalTextOffsetY, HasBitmap(), BitmapVertAlignment,
                                   HasBitmap() ? bitmap_->Height() : 0);
        const int oldMode = SetBkMode(canvas, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(canvas, static_cast<COLORREF>(VerticalFont.Color & 0xFFFFFF));
        const RECT clip{rect.left, rect.top, rect.right, rect.bottom + 1};
        ExtTextOutW(canvas, x, y, ETO_CLIPPED, &clip, VerticalText.c_str(),
                    static_cast<UINT>(VerticalText.size()), nullptr);
        SetTextColor(canvas, oldColor);
        SetBkMode(canvas, oldMode);
    }

    // The last counted item closes the bar (a menu with a margin above its first item
    // ends a little below the measured height) and gets the picture.
    if (rect.bottom < barHeight_)
        return;
    barDone_ = true;
    if (!HasBitmap() || bitmap_->Empty())
        return;
    const TSideBarPoint at =
        SideBarBitmapPos(BarWidth, barHeight_, bitmap_->Width(), bitmap_->Height(), BitmapHorzAlignment,
                         BitmapVertAlignment, BitmapOffsetX, BitmapOffsetY);
    if (transparent_) {
        // The picture's bottom-left pixel is its transparent colour.
        const COLORREF key = GetPixel(bitmap_->Canvas(), 0, bitmap_->Height() - 1);
        TransparentBlt(canvas, at.X, at.Y, bitmap_->Width(), bitmap_->Height(), bitmap_->Canvas(), 0, 0,
                       bitmap_->Width(), bitmap_->Height(), key);
    } else {
        BitBlt(canvas, at.X, at.Y, bitmap_->Width(), bitmap_->Height(), bitmap_->Canvas(), 0, 0, SRCCOPY);
    }
}
