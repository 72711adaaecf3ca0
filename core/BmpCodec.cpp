#include "core/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>

static_assert(std::endian::native == std::endian::little, "pixels are copied as little-endian words");

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kOs2HeaderSize = 64;
constexpr std::uint32_t kV5HeaderSize = 124;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint32_t kLcsSrgb = 0x73524742; // 'sRGB'
constexpr std::uint32_t kLcsGmImages = 4;

constexpr std::uint32_t kMaskR = 0x00FF0000;
constexpr std::uint32_t kMaskG = 0x0000FF00;
constexpr std::uint32_t kMaskB = 0x000000FF;
constexpr std::uint32_t kMaskA = 0xFF000000;

// ---- Writing ----

class ByteWriter {
public:
    explicit ByteWriter(std::size_t capacity) { bytes_.reserve(capacity); }
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// Row length in the file: every row starts on a 4-byte boundary.
std::uint64_t RowStride(std::uint64_t width, std::uint32_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

void WriteFileHeader(ByteWriter& w, std::uint32_t headerBytes, std::uint32_t imageBytes) {
    w.U8('B');
    w.U8('M');
    w.U32(static_cast<std::uint32_t>(kFileHeaderSize) + headerBytes + imageBytes);
    w.U32(0); // two reserved words
    w.U32(static_cast<std::uint32_t>(kFileHeaderSize) + headerBytes);
}

// The first 40 bytes that every info header shares; rows are stored bottom-up.
void WriteInfoHeader(ByteWriter& w, std::uint32_t headerSize, const TBitmap32& image, std::uint16_t bpp,
                     std::uint32_t compression, std::uint32_t imageBytes) {
    w.U32(headerSize);
    w.I32(image.Width());
    w.I32(image.Height());
    w.U16(1); // planes
    w.U16(bpp);
    w.U32(compression);
    w.U32(imageBytes);
    w.I32(0); // resolution not recorded
    w.I32(0);
    w.U32(0); // no colour table
    w.U32(0);
}

// ---- Reading ----

std::uint16_t ReadU16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}
std::uint32_t ReadU32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t{ReadU16(d, at)} | (std::uint32_t{ReadU16(d, at + 2)} << 16);
}
std::int32_t ReadI32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(d, at));
}

// How the alpha of the decoded pixels is decided.
enum class AlphaRule : std::uint8_t {
    Opaque,          // the format has no alpha
    Keep,            // an explicit alpha mask: alpha as stored, even when all 0
    ZeroMeansOpaque, // a plain 32-bit file: all-zero alpha bytes mean an opaque picture
};

// One channel of a colour mask, scaled to 8 bits when read.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0; // largest value after the shift; 0 for an absent channel

    std::uint8_t Read(std::uint32_t v) const {
        if (max == 0)
            return 0;
        const std::uint32_t c = (v & mask) >> shift;
        if (max == 255)
            return static_cast<std::uint8_t>(c);
        return static_cast<std::uint8_t>((std::uint64_t{c} * 255 + max / 2) / max);
    }
};

// A mask is usable when its bits are one contiguous run inside the pixel's bits.
std::optional<Channel> MakeChannel(std::uint32_t mask, std::uint32_t bitsPerPixel) {
    Channel ch;
    ch.mask = mask;
    if (mask == 0)
        return ch;
    if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0)
        return std::nullopt;
    ch.shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> ch.shift;
    if ((run & (run + 1)) != 0)
        return std::nullopt;
    ch.max = run;
    return ch;
}

struct DibLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    std::uint32_t bpp = 0;
    bool masked = false;                  // pixels of 16 or 32 bits read through colour masks
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    std::array<Channel, 4> channels{};
    AlphaRule alpha = AlphaRule::Opaque;
    std::size_t paletteOffset = 0;
    std::uint64_t paletteCount = 0;
    std::uint32_t paletteEntrySize = 4;
    // Colours listed before the pixels of a 16-, 24- or 32-bit picture; only a packed
    // bitmap, which has no pixel offset of its own, needs to step over them.
    std::uint64_t unusedColours = 0;
};

class DibDecoder {
public:
    DibDecoder(std::span<const std::uint8_t> data, std::string& error) : data_(data), error_(error) {}

    // Reads the headers found at infoOffset; fileOffset is the pixel offset the file header
    // gave (absent for a packed bitmap, whose pixels follow the colour table).
    bool Decode(std::size_t infoOffset, std::optional<std::uint32_t> fileOffset, TBitmap32& out) {
        DibLayout l;
        if (!ReadHeader(infoOffset, l))
            return false;
        if (l.width > TBitmap32::kMaxSide || l.height > TBitmap32::kMaxSide ||
            !TBitmap32::ValidSize(static_cast<int>(l.width), static_cast<int>(l.height)))
            return Fail("The picture is too large (" + std::to_string(l.width) + " x " +
                        std::to_string(l.height) + " pixels)");

        std::size_t pixelOffset = 0;
        if (!LocatePixels(l, fileOffset, pixelOffset))
            return false;

        std::array<TColor32, 256> palette;
        palette.fill(0xFF000000u);
        if (l.bpp <= 8) {
            if (l.paletteCount == 0)
                return Fail("The BMP file has no colour table");
            for (std::size_t i = 0; i < l.paletteCount; ++i) {
                const std::size_t at = l.paletteOffset + i * l.paletteEntrySize;
                palette[i] = Color32(data_[at + 2], data_[at + 1], data_[at]);
            }
        }

        TBitmap32 image(static_cast<int>(l.width), static_cast<int>(l.height));
        if (image.Empty()) {
            out = std::move(image);
            return true;
        }
        const auto stride = static_cast<std::size_t>(RowStride(static_cast<std::uint64_t>(l.width), l.bpp));
        for (std::int64_t r = 0; r < l.height; ++r) {
            const std::uint8_t* row = data_.data() + pixelOffset + static_cast<std::size_t>(r) * stride;
            const auto y = static_cast<int>(l.topDown ? r : l.height - 1 - r);
            DecodeRow(l, palette, row, image.ScanLine(y), static_cast<int>(l.width));
        }
        if (l.alpha == AlphaRule::Opaque)
            image.ResetAlpha();
        else if (l.alpha == AlphaRule::ZeroMeansOpaque) {
            const TColor32* p = image.Bits();
            const TColor32* end = p + static_cast<std::size_t>(l.width * l.height);
            if (std::all_of(p, end, [](TColor32 c) { return AlphaComponent(c) == 0; }))
                image.ResetAlpha();
        }
        out = std::move(image);
        return true;
    }

private:
    bool Fail(std::string text) {
        error_ = std::move(text);
        return false;
    }
    bool Has(std::size_t offset, std::uint64_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }

    bool ReadHeader(std::size_t at, DibLayout& l) {
        if (!Has(at, 4))
            return Fail("The BMP file is truncated (header)");
        const std::uint32_t headerSize = ReadU32(data_, at);
        if (headerSize == kCoreHeaderSize)
            return ReadCoreHeader(at, l);
        const bool known = headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
                           headerSize == kOs2HeaderSize || headerSize == 108 || headerSize == kV5HeaderSize;
        if (!known)
            return Fail("The BMP file has an unsupported header (" + std::to_string(headerSize) + " bytes)");
        if (!Has(at, headerSize))
            return Fail("The BMP file is truncated (header)");

        const std::int32_t width = ReadI32(data_, at + 4);
        const std::int32_t height = ReadI32(data_, at + 8);
        l.bpp = ReadU16(data_, at + 14);
        const std::uint32_t compression = ReadU32(data_, at + 16);
        const std::uint32_t colorsUsed = ReadU32(data_, at + 32);
        if (width < 0)
            return Fail("The BMP file has an invalid width");
        l.width = width;
        l.topDown = height < 0;
        l.height = l.topDown ? -std::int64_t{height} : std::int64_t{height};

        if (compression == kBiRle8 || compression == kBiRle4)
            return Fail("Run-length compressed BMP files are not supported");
        // The OS/2 header gives the numbers 3 and 4 other meanings (Huffman, RLE24).
        const bool maskCompression =
            headerSize != kOs2HeaderSize && (compression == kBiBitfields || compression == kBiAlphaBitfields);
        if (compression != kBiRgb && !maskCompression)
            return Fail("The BMP file has an unsupported compression (" + std::to_string(compression) + ")");
        if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32)
            return Fail("The BMP file has an unsupported bit depth (" + std::to_string(l.bpp) + ")");

        std::uint32_t masksAfterHeader = 0;
        if (maskCompression) {
            if (l.bpp != 16 && l.bpp != 32)
                return Fail("The BMP file has colour masks for an unsupported bit depth");
            // The masks follow the first 40 bytes, inside a longer header or after a short one.
            const std::uint32_t needed = compression == kBiAlphaBitfields ? 4 : 3;
            const std::uint32_t inHeader = std::min<std::uint32_t>((headerSize - kInfoHeaderSize) / 4, 4);
            const std::uint32_t present = std::max(needed, inHeader);
            masksAfterHeader = needed > inHeader ? needed - inHeader : 0;
            if (!Has(at + kInfoHeaderSize, std::uint64_t{present} * 4))
                return Fail("The BMP file is truncated (colour masks)");
            for (std::uint32_t i = 0; i < present; ++i)
                l.masks[i] = ReadU32(data_, at + kInfoHeaderSize + i * 4);
            l.masked = true;
            l.alpha = l.masks[3] != 0 ? AlphaRule::Keep : AlphaRule::Opaque;
        } else if (l.bpp == 16) {
            l.masks = {0x7C00, 0x03E0, 0x001F, 0};
            l.masked = true;
        } else if (l.bpp == 32) {
            l.masks = {kMaskR, kMaskG, kMaskB, kMaskA};
            l.masked = true;
            l.alpha = AlphaRule::ZeroMeansOpaque;
        }

        l.paletteOffset = at + headerSize + masksAfterHeader * 4;
        l.paletteEntrySize = 4;
        if (l.bpp <= 8) {
            const std::uint32_t full = 1u << l.bpp;
            l.paletteCount = colorsUsed == 0 ? full : std::min(colorsUsed, full);
        } else {
            l.unusedColours = colorsUsed;
        }
        return true;
    }

    // The oldest header: 16-bit sizes, always bottom-up, 3-byte colour table entries.
    bool ReadCoreHeader(std::size_t at, DibLayout& l) {
        if (!Has(at, kCoreHeaderSize))
            return Fail("The BMP file is truncated (header)");
        l.width = ReadU16(data_, at + 4);
        l.height = ReadU16(data_, at + 6);
        l.bpp = ReadU16(data_, at + 10);
        if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 24)
            return Fail("The BMP file has an unsupported bit depth (" + std::to_string(l.bpp) + ")");
        l.paletteOffset = at + kCoreHeaderSize;
        l.paletteEntrySize = 3;
        if (l.bpp <= 8)
            l.paletteCount = 1u << l.bpp;
        return true;
    }

    // Places the pixel rows, trims the colour table to the room before them, and checks
    // that table and rows lie inside the data.
    bool LocatePixels(DibLayout& l, std::optional<std::uint32_t> fileOffset, std::size_t& pixelOffset) {
        if (l.masked) {
            for (std::size_t i = 0; i < 4; ++i) {
                const auto channel = MakeChannel(l.masks[i], l.bpp);
                if (!channel)
                    return Fail("The BMP file has invalid colour masks");
                l.channels[i] = *channel;
            }
        }
        if (fileOffset && *fileOffset != 0) {
            if (*fileOffset < l.paletteOffset)
                return Fail("The BMP file has an invalid pixel data offset");
            pixelOffset = *fileOffset;
            if (l.bpp <= 8) {
                const std::uint64_t room = (pixelOffset - l.paletteOffset) / l.paletteEntrySize;
                l.paletteCount = std::min(l.paletteCount, room);
            }
        } else {
            const std::uint64_t colours = l.bpp <= 8 ? l.paletteCount : l.unusedColours;
            if (!Has(l.paletteOffset, colours * l.paletteEntrySize))
                return Fail("The BMP file is truncated (colour table)");
            pixelOffset = l.paletteOffset + static_cast<std::size_t>(colours * l.paletteEntrySize);
        }
        if (l.bpp <= 8 && !Has(l.paletteOffset, l.paletteCount * l.paletteEntrySize))
            return Fail("The BMP file is truncated (colour table)");
        const std::uint64_t stride = RowStride(static_cast<std::uint64_t>(l.width), l.bpp);
        if (l.width > 0 && l.height > 0 && !Has(pixelOffset, stride * static_cast<std::uint64_t>(l.height)))
            return Fail("The BMP file is truncated (pixel data)");
        return true;
    }

    static void DecodeRow(const DibLayout& l, const std::array<TColor32, 256>& palette,
                          const std::uint8_t* row, TColor32* dst, int width) {
        switch (l.bpp) {
        case 1:
        case 4:
        case 8: {
            // Indexed pixels, the leftmost in the highest bits of each byte.
            const int perByte = 8 / static_cast<int>(l.bpp);
            const unsigned valueMask = (1u << l.bpp) - 1;
            for (int x = 0; x < width; ++x) {
                const unsigned byte = row[x / perByte];
                const auto shift =
                    static_cast<unsigned>((perByte - 1 - x % perByte) * static_cast<int>(l.bpp));
                dst[x] = palette[(byte >> shift) & valueMask];
            }
            break;
        }
        case 24:
            for (int x = 0; x < width; ++x, row += 3)
                dst[x] = Color32(row[2], row[1], row[0], 0);
            break;
        case 16:
        case 32: {
            if (l.bpp == 32 && l.masks == std::array<std::uint32_t, 4>{kMaskR, kMaskG, kMaskB, kMaskA}) {
                std::memcpy(dst, row, static_cast<std::size_t>(width) * 4);
                break;
            }
            const auto& [r, g, b, a] = l.channels;
            const std::size_t bytes = l.bpp / 8;
            for (int x = 0; x < width; ++x, row += bytes) {
                std::uint32_t v = row[0] | (std::uint32_t{row[1]} << 8);
                if (bytes == 4)
                    v |= (std::uint32_t{row[2]} << 16) | (std::uint32_t{row[3]} << 24);
                dst[x] = Color32(r.Read(v), g.Read(v), b.Read(v), a.Read(v));
            }
            break;
        }
        default:
            break;
        }
    }

    std::span<const std::uint8_t> data_;
    std::string& error_;
};

} // namespace

std::vector<std::uint8_t> EncodeBmp24(const TBitmap32& image) {
    const auto width = static_cast<std::size_t>(image.Width());
    const auto stride = static_cast<std::size_t>(RowStride(width, 24));
    const auto imageBytes = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(image.Height()));
    ByteWriter w(kFileHeaderSize + kInfoHeaderSize + imageBytes);
    WriteFileHeader(w, kInfoHeaderSize, imageBytes);
    WriteInfoHeader(w, kInfoHeaderSize, image, 24, kBiRgb, imageBytes);
    std::vector<std::uint8_t> file = w.Take();
    const std::size_t pixelOffset = file.size();
    file.resize(pixelOffset + imageBytes); // the row padding stays 0
    std::uint8_t* row = file.data() + pixelOffset;
    for (int y = image.Height() - 1; y >= 0; --y, row += stride) {
        const TColor32* src = image.ScanLine(y);
        for (std::size_t x = 0; x < width; ++x) {
            row[x * 3] = BlueComponent(src[x]);
            row[x * 3 + 1] = GreenComponent(src[x]);
            row[x * 3 + 2] = RedComponent(src[x]);
        }
    }
    return file;
}

std::vector<std::uint8_t> EncodeBmp32(const TBitmap32& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width()) * 4;
    const auto imageBytes = static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(image.Height()));
    ByteWriter w(kFileHeaderSize + kV5HeaderSize + imageBytes);
    WriteFileHeader(w, kV5HeaderSize, imageBytes);
    WriteInfoHeader(w, kV5HeaderSize, image, 32, kBiBitfields, imageBytes);
    // The masks name the byte order B, G, R, A; the alpha mask tells every reader that
    // the fourth byte is alpha.
    w.U32(kMaskR);
    w.U32(kMaskG);
    w.U32(kMaskB);
    w.U32(kMaskA);
    w.U32(kLcsSrgb);
    w.Zeros(36 + 12); // end points and gamma, unused with sRGB
    w.U32(kLcsGmImages);
    w.Zeros(12); // no profile, reserved
    std::vector<std::uint8_t> file = w.Take();
    const std::size_t pixelOffset = file.size();
    file.resize(pixelOffset + imageBytes);
    // Our pixels already have the file's byte order; only the row order is turned over.
    std::uint8_t* row = file.data() + pixelOffset;
    for (int y = image.Height() - 1; y >= 0; --y, row += rowBytes)
        if (rowBytes != 0)
            std::memcpy(row, image.ScanLine(y), rowBytes);
    return file;
}

bool DecodeBmp(std::span<const std::uint8_t> data, TBitmap32& out, std::string& error) {
    if (data.size() < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') {
        error = "Not a BMP file";
        return false;
    }
    return DibDecoder(data, error).Decode(kFileHeaderSize, ReadU32(data, 10), out);
}

bool DecodeDib(std::span<const std::uint8_t> data, TBitmap32& out, std::string& error) {
    return DibDecoder(data, error).Decode(0, std::nullopt, out);
}
