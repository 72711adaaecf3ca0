#include "core/ToolOptions.h"

#include <algorithm>
#include <cmath>

#include "core/NumberFormat.h"

namespace {
// Tool code and button tag, in tool-code order.
constexpr std::array<int, kToolCodeCount> kToolTags = {1, 10, 2,  3,  11, 6,  41, 4,  5,  7,
                                                       8, 9,  21, 31, 32, 33, 34, 35, 36, 12};
} // namespace

TOptionBars OptionBarsFor(TToolCode code) {
    const int c = static_cast<int>(code);
    TOptionBars bars;
    bars.Pen = c == 5 || (c >= 7 && c <= 18);
    bars.Fill = c == 5 || (c >= 9 && c <= 11);
    bars.Arrow = c >= 13 && c <= 18;
    bars.Shadow = c >= 9 && c <= 18;
    bars.Stemp = c == 6;
    bars.Trans = c >= 3 && c <= 6;
    return bars;
}

int ToolButtonTag(TToolCode code) {
    return kToolTags[static_cast<std::size_t>(code)];
}

std::optional<TToolCode> ToolCodeFromTag(int tag) {
    const auto it = std::find(kToolTags.begin(), kToolTags.end(), tag);
    if (it == kToolTags.end())
        return std::nullopt;
    return static_cast<TToolCode>(it - kToolTags.begin());
}

bool IsArrowTool(TToolCode code) {
    return code >= TToolCode::SingleArrow && code <= TToolCode::DoubleRect;
}

bool AddHistoryColor(THistoryColors& colors, TColor color) {
    if (std::find(colors.begin(), colors.end(), color) != colors.end())
        return false;
    std::move_backward(colors.begin(), colors.end() - 1, colors.end());
    colors[0] = color;
    return true;
}

int HistorySwatchAt(int x) {
    if (x < 0)
        return 0;
    const int i = x / kHistorySwatchWidth + 1;
    return i <= static_cast<int>(THistoryColors{}.size()) ? i : 0;
}

TColor StoredColor(std::int64_t value, TColor fallback) {
    return value >= 0 && value <= 0xFFFFFF ? static_cast<TColor>(value) : fallback;
}

std::wstring ZoomStatusText(int value, const std::wstring& thousandsSeparator) {
    return L"Zoom (" + FormatWholeNumber(value, thousandsSeparator) + L"%)";
}

std::wstring ZoomLabelText(int value) {
    return std::to_wstring(value) + L"%";
}

bool ZoomDiffersFromScale(int value, double scale) {
    return static_cast<long long>(value) != std::llrint(scale * 100.0);
}
