#include "forms/ImageCodecs.h"

#include <windows.h>

#include <objbase.h>

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/BmpCodec.h"
#include "forms/Exceptions.h"
#include "forms/Handles.h"
#include "tests/forms/ScratchFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Each test gets COM and an empty folder of its own, removed afterwards.
class ImageCodecsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }

    std::wstring Path(const std::wstring& name) const { return folder_.File(name); }
    std::vector<std::wstring> FolderContents() const { return folder_.Names(); }

    static Bytes ReadBytes(const std::wstring& path) {
        Bytes bytes;
        TFileHandle file(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file)
            return bytes;
        bytes.resize(GetFileSize(file.Get(), nullptr));
        DWORD got = 0;
        ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        bytes.resize(got);
        return bytes;
    }
    static void WriteBytes(const std::wstring& path, const Bytes& bytes) {
        TFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }

    TBitmap32 Load(const std::wstring& path) {
        TBitmap32 out;
        std::wstring error;
        EXPECT_TRUE(LoadImageFile(path, out, error)) << std::string(error.begin(), error.end());
        return out;
    }
    // A refused file leaves the picture as it was and says why, naming the file.
    std::wstring Refusal(const std::wstring& path) {
        TBitmap32 out(1, 1, 0x12345678u);
        std::wstring error;
        EXPECT_FALSE(LoadImageFile(path, out, error));
        EXPECT_EQ(out, TBitmap32(1, 1, 0x12345678u));
        EXPECT_NE(error.find(path), std::wstring::npos);
        return error;
    }

private:
    TScratchFolder folder_{L"tolvex-codecs-"};
};

// A picture of distinct opaque colours.
TBitmap32 Opaque5x3() {
    TBitmap32 b(5, 3);
    const std::array<TColor32, 5> colours = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF202020u};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.SetPixel(x, y, colours[static_cast<std::size_t>((x + y) % 5)]);
    return b;
}

TBitmap32 WithAlpha() {
    TBitmap32 b(3, 1);
    b.SetPixel(0, 0, 0x00102030u);
    b.SetPixel(1, 0, 0x80405060u);
    b.SetPixel(2, 0, 0xFF708090u);
    return b;
}

bool Near(TColor32 a, TColor32 b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(d) > tolerance)
            return false;
    }
    return true;
}

// ---- Hand-made PNG files: stored (uncompressed) deflate blocks, so every byte is known ----

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void PutBe32(Bytes& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(Bytes& png, const char* type, const Bytes& data) {
    PutBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, Crc32(png.data() + start, png.size() - start));
}

// rows: each row's bytes without the filter byte, which is added as 0 (none).
Bytes MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t colorType,
              const std::vector<Bytes>& rows, const Bytes& palette = {}, const Bytes& transparency = {}) {
    Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    Bytes header;
    PutBe32(header, width);
    PutBe32(header, height);
    header.insert(header.end(), {8, colorType, 0, 0, 0});
    Chunk(png, "IHDR", header);
    if (!palette.empty())
        Chunk(png, "PLTE", palette);
    if (!transparency.empty())
        Chunk(png, "tRNS", transparency);
    Bytes raw;
    for (const auto& row : rows) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    Bytes z = {0x78, 0x01, 0x01}; // one final stored block
    const auto len = static_cast<std::uint16_t>(raw.size());
    z.insert(z.end(), {static_cast<std::uint8_t>(len), static_cast<std::uint8_t>(len >> 8),
                       static_cast<std::uint8_t>(~len), static_cast<std::uint8_t>(~len >> 8)});
    z.insert(z.end(), raw.begin(), raw.end());
    std::uint32_t a = 1, b = 0;
    for (auto v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, (b << 16) | a);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

} // namespace

TEST_F(ImageCodecsTest, EveryFileTypeIsWrittenWithItsSignatureAndReadBack) {
    // BMP and PNG are exact; the GIF palette the imaging component chooses may move a
    // colour a little, and so does JPEG even at quality 100.
    const TBitmap32 picture = Opaque5x3();
    const struct {
        TImageFileType type;
        const wchar_t* name;
        int tolerance;
    } cases[] = {{TImageFileType::Bmp, L"a.bmp", 0},
                 {TImageFileType::Png, L"a.png", 0},
                 {TImageFileType::Gif, L"a.gif", 8},
                 {TImageFileType::Jpeg, L"a.jpg", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        SaveBitmapToFile(picture, Path(c.name), c.type, 100);
        EXPECT_EQ(ImageFileTypeFromSignature(ReadBytes(Path(c.name))), c.type);
        const TBitmap32 back = Load(Path(c.name));
        ASSERT_EQ(back.Width(), 5);
        ASSERT_EQ(back.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_TRUE(Near(back.Pixel(x, y), picture.Pixel(x, y), c.tolerance))
                    << x << "," << y << ": " << std::hex << back.Pixel(x, y);
    }
}

TEST_F(ImageCodecsTest, BmpKeepsAlphaUnlessTwentyFourBitsAreAsked) {
    SaveBitmapToFile(WithAlpha(), Path(L"32.bmp"), TImageFileType::Bmp, 0);
    EXPECT_EQ(Load(Path(L"32.bmp")), WithAlpha());

    SaveBitmapToFile(WithAlpha(), Path(L"24.bmp"), TImageFileType::Bmp, 0, {.Bmp24 = true});
    const Bytes file = ReadBytes(Path(L"24.bmp"));
    ASSERT_EQ(file.size(), 14u + 40u + 12u);
    EXPECT_EQ(file[28], 24);
    TBitmap32 opaque = WithAlpha();
    opaque.ResetAlpha();
    EXPECT_EQ(Load(Path(L"24.bmp")), opaque);
}

TEST_F(ImageCodecsTest, PngKeepsAlphaZeroHalfAndFullWithTheirColours) {
    SaveBitmapToFile(WithAlpha(), Path(L"alpha.png"), TImageFileType::Png, 0);
    EXPECT_EQ(ReadBytes(Path(L"alpha.png"))[25], 6) << "colour type RGB with alpha";
    EXPECT_EQ(Load(Path(L"alpha.png")), WithAlpha());

    // An opaque picture needs no alpha channel in the file.
    SaveBitmapToFile(Opaque5x3(), Path(L"opaque.png"), TImageFileType::Png, 0);
    EXPECT_EQ(ReadBytes(Path(L"opaque.png"))[25], 2) << "colour type RGB";
}

TEST_F(ImageCodecsTest, PngTransparencyOfEveryColourTypeBecomesAlpha) {
    // Palette with partial transparency: entries 0 and 1 have alpha 0 and 128, entry 2 none.
    WriteBytes(Path(L"palette.png"),
               MakePng(3, 1, 3, {{0, 1, 2}}, {255, 0, 0, 0, 255, 0, 0, 0, 255}, {0x00, 0x80}));
    const TBitmap32 a = Load(Path(L"palette.png"));
    ASSERT_EQ(a.Width(), 3);
    EXPECT_EQ(a.Pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(a.Pixel(1, 0), 0x8000FF00u);
    EXPECT_EQ(a.Pixel(2, 0), 0xFF0000FFu);

    // RGB with one transparent colour.
    WriteBytes(Path(L"key.png"), MakePng(2, 1, 2, {{10, 20, 30, 40, 50, 60}}, {}, {0, 10, 0, 20, 0, 30}));
    const TBitmap32 b = Load(Path(L"key.png"));
    EXPECT_EQ(b.Pixel(0, 0), 0x000A141Eu);
    EXPECT_EQ(b.Pixel(1, 0), 0xFF28323Cu);

    // Grey with alpha.
    WriteBytes(Path(L"grey.png"), MakePng(2, 1, 4, {{100, 0, 200, 77}}));
    const TBitmap32 c = Load(Path(L"grey.png"));
    EXPECT_EQ(c.Pixel(0, 0), 0x00646464u);
    EXPECT_EQ(c.Pixel(1, 0), 0x4DC8C8C8u);
}

TEST_F(ImageCodecsTest, GifAndJpegAreReadOpaque) {
    SaveBitmapToFile(WithAlpha(), Path(L"a.gif"), TImageFileType::Gif, 0);
    SaveBitmapToFile(WithAlpha(), Path(L"a.jpg"), TImageFileType::Jpeg, 85);
    for (const wchar_t* name : {L"a.gif", L"a.jpg"}) {
        const TBitmap32 back = Load(Path(name));
        ASSERT_EQ(back.Width(), 3);
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(AlphaComponent(back.Pixel(x, 0)), 255);
    }
}

TEST_F(ImageCodecsTest, SavingReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    SaveBitmapToFile(Opaque5x3(), Path(L"shot.png"), TImageFileType::Png, 0);
    SaveBitmapToFile(WithAlpha(), Path(L"shot.png"), TImageFileType::Png, 0);
    EXPECT_EQ(Load(Path(L"shot.png")), WithAlpha());
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"shot.png"});
}

TEST_F(ImageCodecsTest, CreateNewNeverReplacesAnExistingFile) {
    const Bytes old = {'o', 'l', 'd'};
    WriteBytes(Path(L"Capture_1.bmp"), old);
    try {
        SaveBitmapToFile(Opaque5x3(), Path(L"Capture_1.bmp"), TImageFileType::Bmp, 0,
                         {.Bmp24 = true, .CreateNew = true});
        ADD_FAILURE() << "an existing file was replaced";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        EXPECT_NE(e.Message().find(Path(L"Capture_1.bmp")), std::wstring::npos);
    }
    EXPECT_EQ(ReadBytes(Path(L"Capture_1.bmp")), old);
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Capture_1.bmp"});

    SaveBitmapToFile(Opaque5x3(), Path(L"Capture_2.bmp"), TImageFileType::Bmp, 0, {.CreateNew = true});
    EXPECT_EQ(Load(Path(L"Capture_2.bmp")), Opaque5x3());
}

TEST_F(ImageCodecsTest, AFailedSaveSaysWhichFileAndLeavesNothingBehind) {
    const std::wstring missing = Path(L"no such folder\\a.png");
    try {
        SaveBitmapToFile(Opaque5x3(), missing, TImageFileType::Png, 0);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(missing), std::wstring::npos);
    }
    // A name that cannot take the file: the data written so far is removed again.
    ASSERT_TRUE(CreateDirectoryW(Path(L"folder.png").c_str(), nullptr));
    EXPECT_THROW(SaveBitmapToFile(Opaque5x3(), Path(L"folder.png"), TImageFileType::Png, 0), EOSError);
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"folder.png"});
    RemoveDirectoryW(Path(L"folder.png").c_str());

    // A read-only file is not replaced.
    const Bytes old = {'o', 'l', 'd'};
    WriteBytes(Path(L"locked.bmp"), old);
    SetFileAttributesW(Path(L"locked.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(SaveBitmapToFile(Opaque5x3(), Path(L"locked.bmp"), TImageFileType::Bmp, 0), EOSError);
    EXPECT_EQ(ReadBytes(Path(L"locked.bmp")), old);
    SetFileAttributesW(Path(L"locked.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Path(L"locked.bmp").c_str());

    EXPECT_THROW(SaveBitmapToFile(TBitmap32(), Path(L"empty.jpg"), TImageFileType::Jpeg, 85), Exception);
    EXPECT_THROW(SaveBitmapToFile(Opaque5x3(), Path(L"odd.xyz"), static_cast<TImageFileType>(7), 85),
                 Exception);
    EXPECT_TRUE(FolderContents().empty());
}

TEST_F(ImageCodecsTest, DamagedAndForeignFilesAreRefusedWithAReason) {
    Refusal(Path(L"missing.png"));
    WriteBytes(Path(L"empty.png"), {});
    EXPECT_NE(Refusal(Path(L"empty.png")).find(L"not a BMP, GIF, JPEG or PNG"), std::wstring::npos);
    WriteBytes(Path(L"text.png"), {'h', 'e', 'l', 'l', 'o'});
    Refusal(Path(L"text.png"));

    // Half of a real PNG file.
    SaveBitmapToFile(Opaque5x3(), Path(L"whole.png"), TImageFileType::Png, 0);
    Bytes half = ReadBytes(Path(L"whole.png"));
    half.resize(half.size() / 2);
    WriteBytes(Path(L"half.png"), half);
    Refusal(Path(L"half.png"));

    // A header claiming a picture far larger than any the program holds.
    WriteBytes(Path(L"huge.png"), MakePng(100000, 100000, 2, {{1, 2, 3}}));
    EXPECT_NE(Refusal(Path(L"huge.png")).find(L"too large"), std::wstring::npos);

    // A damaged BMP gives the codec's own reason.
    Bytes bmp = EncodeBmp24(Opaque5x3());
    bmp.resize(bmp.size() - 1);
    WriteBytes(Path(L"cut.bmp"), bmp);
    EXPECT_NE(Refusal(Path(L"cut.bmp")).find(L"truncated"), std::wstring::npos);

    // A header of no pixels at all: nothing could show such a picture.
    WriteBytes(Path(L"none.bmp"), EncodeBmp24(TBitmap32(0, 0)));
    EXPECT_NE(Refusal(Path(L"none.bmp")).find(L"no pixels"), std::wstring::npos);
    Bytes wide = EncodeBmp24(TBitmap32(0, 0));
    wide[18] = 7; // seven pixels wide, none high
    WriteBytes(Path(L"flat.bmp"), wide);
    EXPECT_NE(Refusal(Path(L"flat.bmp")).find(L"no pixels"), std::wstring::npos);
}

TEST_F(ImageCodecsTest, TheFileContentsNotTheNameDecideTheType) {
    WriteBytes(Path(L"really a bmp.png"), EncodeBmp32(WithAlpha()));
    EXPECT_EQ(Load(Path(L"really a bmp.png")), WithAlpha());
}
