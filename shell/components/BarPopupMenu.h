#pragma once
// A pop-up menu with a side bar: its first-level items are drawn by the menu, shifted right
// by the bar's width, and left of them runs a vertical bar with a colour gradient from top
// to bottom, a text written upwards and an optional picture. Items captioned "#" take no
// part in the bar and draw nothing.
#include <windows.h>

#include <memory>
#include <string>

#include "core/Bitmap32.h"
#include "core/SideBarLayout.h"
#include "forms/Graphics.h"
#include "forms/Menus.h"

// The font of the bar's text.
struct TBarFont {
    std::wstring Name = L"Tahoma";
    int Height = -19; // 14 pt at 96 dots per inch
    TColor Color = 16777215;
    bool Bold = true;
    bool Italic = true;
    bool Underline = false;
    bool StrikeOut = false;
    BYTE Pitch = DEFAULT_PITCH;
};

class TBarPopupMenu : public TPopupMenu {
public:
    TBarPopupMenu(TForm* owner, std::wstring name);
    ~TBarPopupMenu() override;

    // The bar's picture, created (empty, transparent) on first use.
    TBitmap& Bitmap();
    void SetBitmap(const TBitmap& bitmap);
    bool HasBitmap() const { return static_cast<bool>(bitmap_); }
    int BitmapOffsetX = 0;
    int BitmapOffsetY = 0;
    TBitmapVertAlignment BitmapVertAlignment = TBitmapVertAlignment::bvaBottom;
    TBitmapHorzAlignment BitmapHorzAlignment = TBitmapHorzAlignment::bhaLeft;
    TColor GradientStart = 16711680; // blue
    TColor GradientEnd = 0;          // black
    std::wstring VerticalText;
    TBarFont VerticalFont;
    int VerticalTextOffsetY = -6;
    int BarWidth = 31;
    bool BarVisible = true;
    // The picture's transparency: false without a picture; setting it needs a picture.
    bool Transparent() const { return bitmap_ && transparent_; }
    void SetTransparent(bool transparent);

    // Starts an empty bar and binds the first-level items to the hooks, then opens.
    void Popup(int x, int y) override;
    // The part of Popup before the menu opens.
    void PreparePopup();

    // The measuring and drawing hooks of the first-level items.
    void MeasureItem(TMenuItem* sender, HDC canvas, int& width, int& height);
    void AdvancedDrawItem(TMenuItem* sender, HDC canvas, const RECT& rect, UINT state);

    int BarHeight() const { return barHeight_; }
    bool BarDone() const { return barDone_; }

private:
    void PaintBarSlice(HDC canvas, const RECT& rect);
    std::unique_ptr<TBitmap> bitmap_;
    bool transparent_ = true;
    int barHeight_ = 0;
    bool barDone_ = false;
};
