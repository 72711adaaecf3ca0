#pragma once
// The tool window's arithmetic: the tool codes and their buttons' tags, which option bars
// each tool shows, the strip of recent colours, and the zoom slider's texts and scale.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Bitmap32.h"

// The current drawing tool; stored and compared by value.
enum class TToolCode : std::uint8_t {
    Move = 0,
    Dropper = 1,
    Zoom = 2,
    Select = 3,
    Highlight = 4,
    Text = 5,
    Stemp = 6,
    Pen = 7,
    Erase = 8,
    Rectangle = 9,
    RoundRect = 10,
    Circle = 11,
    Line = 12,
    SingleArrow = 13,
    DoubleArrow = 14,
    SingleCircle = 15,
    DoubleCircle = 16,
    SingleRect = 17,
    DoubleRect = 18,
    Fill = 19
};
inline constexpr int kToolCodeCount = 20;

// The option bars shown besides the Tool and Zoom bars, which are always shown.
struct TOptionBars {
    bool Pen = false;
    bool Fill = false;
    bool Arrow = false;
    bool Shadow = false;
    bool Stemp = false;
    bool Trans = false;
    bool operator==(const TOptionBars&) const = default;
};
TOptionBars OptionBarsFor(TToolCode code);

// The tag of a tool button and back; a tag of no tool gives nothing.
int ToolButtonTag(TToolCode code);
std::optional<TToolCode> ToolCodeFromTag(int tag);
bool IsArrowTool(TToolCode code);

// The five recent colours, index 0 the newest.
using THistoryColors = std::array<TColor, 5>;
inline constexpr int kHistorySwatchWidth = 10;
// Puts a colour at the front unless it is already anywhere in the strip; true when the
// strip changed.
bool AddHistoryColor(THistoryColors& colors, TColor color);
// The 1-based swatch under x pixels from the strip's left edge; 0 for none.
int HistorySwatchAt(int x);

// A stored colour value: a plain colour (0x00BBGGRR) is kept, anything else gives fallback.
TColor StoredColor(std::int64_t value, TColor fallback);

// The zoom slider's status-bar text with the locale's thousands separator: "Zoom (1,000%)".
std::wstring ZoomStatusText(int value, const std::wstring& thousandsSeparator);
// The zoom slider's value label: "1000%".
std::wstring ZoomLabelText(int value);
// Whether a slider value differs from a view scale shown in per cent (rounded to nearest).
bool ZoomDiffersFromScale(int value, double scale);
