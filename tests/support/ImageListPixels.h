#pragma once
// The pixels of one picture of an image list, for tests that look at what a control shows.
#include <windows.h>

#include <commctrl.h>

#include <vector>

// 32-bit pixels (0xAARRGGBB) row by row, top row first; empty when the picture is missing.
inline std::vector<DWORD> ImageListPixels(HIMAGELIST list, int index = 0) {
    IMAGEINFO info{};
    if (!list || !ImageList_GetImageInfo(list, index, &info))
        return {};
    BITMAP bm{};
    GetObjectW(info.hbmImage, sizeof(bm), &bm);
    // The list's bitmap may hold several pictures: read it whole, then cut this one out.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> whole(static_cast<std::size_t>(bm.bmWidth) * static_cast<std::size_t>(bm.bmHeight));
    const HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmImage, 0, static_cast<UINT>(bm.bmHeight), whole.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    std::vector<DWORD> pixels;
    for (int y = info.rcImage.top; y < info.rcImage.bottom && y < bm.bmHeight; ++y)
        for (int x = info.rcImage.left; x < info.rcImage.right && x < bm.bmWidth; ++x)
            pixels.push_back(whole[static_cast<std::size_t>(y) * static_cast<std::size_t>(bm.bmWidth) +
                                   static_cast<std::size_t>(x)]);
    return pixels;
}
