// Writes one JPEG file per stored quality level into the folder given as the first
// argument (level0.jpg ... level4.jpg, and level9.jpg for a level outside the table), so
// that a test can measure their quality with an outside tool.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "core/ImageFileType.h"
#include "forms/ImageCodecs.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: JpegLevels <folder>\n", stderr);
        return 2;
    }
    // A picture with detail, so that the encoder's tables matter.
    TBitmap32 picture(64, 48);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y,
                             Color32(static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 5),
                                     static_cast<std::uint8_t>((x ^ y) * 8)));
    try {
        for (int level : {0, 1, 2, 3, 4, 9}) {
            const std::wstring path = std::wstring(argv[1]) + L"\\level" + std::to_wstring(level) + L".jpg";
            SaveBitmapToFile(picture, path, TImageFileType::Jpeg, JpegQualityFromLevel(level));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "JpegLevels: %s\n", e.what());
        return 1;
    }
    return 0;
}
