#include "core/IconPicture.h"

namespace {
constexpr TColor32 kWhite = 0xFFFFFFFF;

std::uint8_t BlendOverWhite(std::uint8_t channel, std::uint8_t alpha) {
    // alpha * c + (255 - alpha) * 255, divided with rounding to the nearest.
    const unsigned value = alpha * unsigned{channel} + (255u - alpha) * 255u;
    return static_cast<std::uint8_t>((value + 127u) / 255u);
}

bool HasAlpha(const std::vector<TColor32>& color) {
    for (const TColor32 c : color)
        if (AlphaComponent(c) != 0)
            return true;
    return false;
}
} // namespace

TBitmap32 IconOnWhite(const TIconImages& icon) {
    TBitmap32 result(kIconPictureSize, kIconPictureSize, kWhite);
    const auto count = static_cast<std::size_t>(icon.Width) * static_cast<std::size_t>(icon.Height);
    if (icon.Width <= 0 || icon.Height <= 0 || icon.Color.size() != count || icon.Mask.size() != count)
        return result;
    const bool alpha = HasAlpha(icon.Color);
    for (int y = 0; y < kIconPictureSize; ++y) {
        const int sy = y * icon.Height / kIconPictureSize;
        for (int x = 0; x < kIconPictureSize; ++x) {
            const int sx = x * icon.Width / kIconPictureSize;
            const auto i = static_cast<std::size_t>(sy) * static_cast<std::size_t>(icon.Width) +
                           static_cast<std::size_t>(sx);
            const TColor32 c = icon.Color[i];
            TColor32 out;
            if (alpha) {
                const std::uint8_t a = AlphaComponent(c);
                out = Color32(BlendOverWhite(RedComponent(c), a), BlendOverWhite(GreenComponent(c), a),
                              BlendOverWhite(BlueComponent(c), a));
            } else if (icon.Mask[i]) {
                // The screen keeps white under the mask, then takes the colour by XOR.
                out = (kWhite ^ c) | 0xFF000000;
            } else {
                out = c | 0xFF000000;
            }
            result.SetPixel(x, y, out);
        }
    }
    return result;
}
