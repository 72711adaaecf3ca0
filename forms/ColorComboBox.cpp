#include "forms/ColorComboBox.h"

#include <commdlg.h>

#include <array>
#include <string>

namespace {
struct TNamedColor {
    const wchar_t* Name;
    TColor Color;
};
constexpr std::array<TNamedColor, 16> kStandard{{
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
constexpr int kCustomLine = static_cast<int>(kStandard.size());   // the colour of another value
constexpr int kPickLine = static_cast<int>(kStandard.size()) + 1; // "Custom..."

bool SystemPickColor(HWND owner, TColor& color) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = static_cast<COLORREF>(color);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc))
        return false;
    color = static_cast<TColor>(cc.rgbResult & 0xFFFFFF);
    return true;
}

std::wstring HexText(TColor color) {
    wchar_t text[16];
    swprintf(text, 16, L"Custom $%06X", static_cast<unsigned>(color) & 0xFFFFFFu);
    return text;
}
} // namespace

TColorComboBox::TColorComboBox(TForm* owner, std::wstring name, TWindow* parent)
    : TComboBox(owner, std::move(name), parent) {
    OnChange = [this](TObject*) { Chosen(); };
    SetColorValue(0xFFFFFF);
}

void TColorComboBox::Rebuild() {
    std::vector<std::wstring> items;
    for (const auto& c : kStandard)
        items.emplace_back(c.Name);
    items.push_back(HexText(color_));
    items.emplace_back(L"Custom...");
    SetItems(items);
}

void TColorComboBox::ColorChanged(TColor before) {
    if (color_ != before && OnColorChange)
        OnColorChange(this);
}

void TColorComboBox::SetColorValue(TColor color) {
    const TColor before = color_;
    color_ = color & 0xFFFFFF;
    Rebuild();
    int line = kCustomLine;
    for (std::size_t i = 0; i < kStandard.size(); ++i)
        if (kStandard[i].Color == color_)
            line = static_cast<int>(i);
    // Rebuilding lost the choice, so this raises the change event, which finds it settled.
    SetItemIndex(line);
    ColorChanged(before);
}

void TColorComboBox::Chosen() {
    const int line = ItemIndex();
    if (line >= 0 && line < kCustomLine) {
        const TColor before = color_;
        color_ = kStandard[static_cast<std::size_t>(line)].Color;
        ColorChanged(before);
    } else if (line == kPickLine) {
        TColor picked = color_;
        const bool ok = PickColor ? PickColor(Handle(), picked) : SystemPickColor(Handle(), picked);
        SetColorValue(ok ? picked : color_);
    }
}
