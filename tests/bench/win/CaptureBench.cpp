// The shares of a full-screen capture to a file: the grab, the conversion to the editor's
// pixels, the encoding and the write, each timed over repeated runs.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "BenchClock.h"
#include "capture/unitCaptureLib.h"
#include "core/BmpCodec.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/ImageCodecs.h"

namespace {
void Measure(const char* name, int runs, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        f();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-28s median %8.2f ms   min %8.2f ms   max %8.2f ms   (%d runs)\n", name,
                times[times.size() / 2], times.front(), times.back(), runs);
}
} // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int runs = 20;
    const std::wstring folder = TempFolder() + L"tolvex-bench\\";
    ForceDirectories(folder);

    TBitmap screen(0, 0, TPixelFormat::pf24bit);
    CaptureScreenToBitmap(screen, false);
    std::printf("screen %d x %d\n", screen.Width(), screen.Height());
    TBitmap32 picture;

    Measure("grab (BitBlt to 24-bit)", runs, [&] { CaptureScreenToBitmap(screen, false); });
    Measure("convert to 32-bit pixels", runs, [&] { AssignToBitmap32(screen, picture); });
    Measure("encode BMP (24-bit)", runs, [&] { (void)EncodeBmp24(picture); });
    const auto bmp = EncodeBmp24(picture);
    Measure("write BMP file", runs, [&] { WriteFileAtomic(folder + L"bench.bmp", bmp); });
    Measure("save BMP (encode + write)", runs, [&] {
        SaveBitmapToFile(picture, folder + L"bench.bmp", TImageFileType::Bmp, 90, {.Bmp24 = true});
    });
    Measure("save PNG (encode + write)", runs,
            [&] { SaveBitmapToFile(picture, folder + L"bench.png", TImageFileType::Png, 90); });
    Measure("save JPEG q85 (encode+write)", runs,
            [&] { SaveBitmapToFile(picture, folder + L"bench.jpg", TImageFileType::Jpeg, 85); });

    DeleteFileW((folder + L"bench.bmp").c_str());
    DeleteFileW((folder + L"bench.png").c_str());
    DeleteFileW((folder + L"bench.jpg").c_str());
    RemoveDirectoryW(folder.c_str());
    CoUninitialize();
    return 0;
}
