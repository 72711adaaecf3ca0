#include "core/SideBarLayout.h"

#include <cmath>

namespace {
int Channel(TColor c, int shift) {
    return (static_cast<int>(c) >> shift) & 0xFF;
}
} // namespace

TColor SideBarRowColor(TColor start, TColor end, int y, int barHeight) {
    if (barHeight == 0)
        return start & 0xFFFFFF;
    int result = 0;
    for (const int shift : {0, 8, 16}) {
        const int s = Channel(start, shift);
        const int e = Channel(end, shift);
        // 64-bit so that a tall bar and a big channel step cannot overflow; C++ division
        // cuts toward zero as the gradient wants.
        const auto value = s + static_cast<std::int64_t>(e - s) * y / barHeight;
        // Rows below the measured height (a redraw after the menu grew) stay in range.
        const auto clamped = value < 0 ? 0 : value > 255 ? 255 : value;
        result |= static_cast<int>(clamped) << shift;
    }
    return result;
}

int SideBarTextX(int barWidth, int textHeight) {
    const double centre = (barWidth - textHeight) / 2.0 - 0.5;
    return static_cast<int>(std::nearbyint(centre)) - 1;
}

int SideBarTextY(int barHeight, int textOffsetY, bool hasBitmap, TBitmapVertAlignment vert,
                 int bitmapHeight) {
    int y = barHeight + textOffsetY;
    if (hasBitmap && vert == TBitmapVertAlignment::bvaBottom)
        y -= bitmapHeight;
    return y;
}

TSideBarPoint SideBarBitmapPos(int barWidth, int barHeight, int bitmapWidth, int bitmapHeight,
                               TBitmapHorzAlignment horz, TBitmapVertAlignment vert, int offsetX,
                               int offsetY) {
    TSideBarPoint p;
    switch (vert) {
    case TBitmapVertAlignment::bvaTop:
        p.Y = offsetY;
        break;
    case TBitmapVertAlignment::bvaBottom:
        p.Y = barHeight + offsetY - bitmapHeight;
        break;
    case TBitmapVertAlignment::bvaMiddle:
        p.Y = (barHeight - bitmapHeight) / 2 + offsetY;
        break;
    }
    switch (horz) {
    case TBitmapHorzAlignment::bhaLeft:
        p.X = offsetX;
        break;
    case TBitmapHorzAlignment::bhaRight:
        p.X = barWidth - 2 + offsetX - bitmapWidth;
        break;
    case TBitmapHorzAlignment::bhaCenter:
        p.X = (barWidth - 2 - bitmapWidth) / 2 + offsetX;
        break;
    }
    return p;
}
