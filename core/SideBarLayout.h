#pragma once
// The arithmetic of the tray menu's side bar: the colour of each row of its gradient, the
// place of the text written up the bar and of the picture at its foot. The menu measures
// its top-level items into one bar height and paints each item's slice of the bar.
#include <cstdint>

#include "core/Bitmap32.h"

enum class TBitmapVertAlignment : std::uint8_t { bvaTop = 0, bvaBottom = 1, bvaMiddle = 2 };
enum class TBitmapHorzAlignment : std::uint8_t { bhaLeft = 0, bhaRight = 1, bhaCenter = 2 };

struct TSideBarPoint {
    int X = 0;
    int Y = 0;
};

// The colour (0x00BBGGRR) of row y of a bar of the given height, running from start at
// row 0 to end at row barHeight; each channel is cut toward zero. A bar of height 0 (no
// item counted) shows the start colour rather than dividing by nothing.
TColor SideBarRowColor(TColor start, TColor end, int y, int barHeight);

// The left edge of the upward text in a bar of that width, for a font whose letter "X"
// is textHeight high: (width - h) / 2 - 0.5 rounded to even, minus 1.
int SideBarTextX(int barWidth, int textHeight);

// The baseline start of the upward text: the bar's foot plus the offset, raised above a
// picture aligned to the foot.
int SideBarTextY(int barHeight, int textOffsetY, bool hasBitmap, TBitmapVertAlignment vert, int bitmapHeight);

// Where the bar's picture is drawn.
TSideBarPoint SideBarBitmapPos(int barWidth, int barHeight, int bitmapWidth, int bitmapHeight,
                               TBitmapHorzAlignment horz, TBitmapVertAlignment vert, int offsetX,
                               int offsetY);
