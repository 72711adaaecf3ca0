#include "forms/ColorComboBox.h"

#include <commdlg.h>

#include <array>
#include <cstdio>
#include <string>

std::function<bool(HWND, TColor&)> ChooseColorHook;

namespace {
struct TNamedColor {
    const wchar_t* Name;
    TColor Value;
};
// The sixteen standard colours, 0x00BBGGRR.
constexpr std::array<TNamedColor, 16> kStandardColors{{
    {L"Black", 0x000000},
    {L"Maroon", 0x000080},
    {L"Green", 0x008000},
    {L"Olive", 0x008080},
    {L"Navy", 0x800000},
    {L"Purple", 0x800080},
    {L"Teal", 0x808000},
    {L"Gray", 0x808080},
    {L"Silver", 0xC0C0C0},
    {L"Red", 0x0000FF},
    {L"Lime", 0x00FF00},
    {L"Yellow", 0x00FFFF},
    {L"Blue", 0xFF0000},
    {L"Fuchsia", 0xFF00FF},
    {L"Aqua", 0xFFFF00},
    {L"White", 0xFFFFFF},
}};
constexpr int kStandardCount = static_cast<int>(kStandardColors.size());

int StandardIndex(TColor color) {
    for (int i = 0; i < kStandardCount; ++i)
        if (kStandardColors[static_cast<std::size_t>(i)].Value == color)
            return i;
    return -1;
}
} // namespace

bool ChooseColorValue(HWND owner, TColor& color) {
    if (ChooseColorHook)
        return ChooseColorHook(owner, color);
    static COLORREF customColors[16]{};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = static_cast<COLORREF>(color);
    cc.lpCustColors = customColors;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc))
        return false;
    color = static_cast<TColor>(cc.rgbResult & 0xFFFFFF);
    return true;
}

TColorComboBox::TColorComboBox(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width)
    : TComboBox(owner, std::move(name), parent) {
    SetBounds(left, top, width, 200);
    ShowColor();
}

void TColorComboBox::ShowColor() {
    std::vector<std::wstring> items;
    for (const TNamedColor& c : kStandardColors)
        items.emplace_back(c.Name);
    const int standard = StandardIndex(color_);
    custom_ = standard < 0;
    if (custom_) {
        wchar_t text[16];
        std::swprintf(text, 16, L"$%06X", static_cast<unsigned>(color_) & 0xFFFFFFu);
        items.emplace_back(text);
    }
    items.emplace_back(L"Custom...");
    const TNotifyEvent onChange = std::move(OnChange);
    OnChange = nullptr;
    SetItems(items);
    SetItemIndex(custom_ ? kStandardCount : standard);
    OnChange = onChange;
}

void TColorComboBox::SetColorValue(TColor color) {
    color &= 0xFFFFFF;
    const bool changed = color != color_;
    color_ = color;
    ShowColor();
    if (changed && OnChange)
        OnChange(this);
}

bool TColorComboBox::HandleCommand(WORD code, WORD) {
    if (code != CBN_SELCHANGE)
        return false;
    const int index = ItemIndex();
    if (index < 0)
        return true;
    TColor color = color_;
    if (index < kStandardCount) {
        color = kStandardColors[static_cast<std::size_t>(index)].Value;
    } else if (index == ItemCount() - 1 && !ChooseColorValue(Handle(), color)) {
        // Cancelled in the colour dialog: the former choice comes back.
        ShowColor();
        return true;
    }
    SetColorValue(color);
    return true;
}
