#include "core/GifCheck.h"

#include <array>
#include <cstddef>

#include "core/Bitmap32.h"

namespace {

constexpr std::size_t kHeaderSize = 13;     // signature, screen size, flags, background, aspect
constexpr std::size_t kDescriptorSize = 10; // "," and the image's place, size and flags
constexpr unsigned kMaxCodeBits = 12;

class TGifWalker {
public:
    TGifWalker(std::span<const std::uint8_t> data, std::string& error) : data_(data), error_(error) {}

    bool Walk() {
        if (data_.size() < kHeaderSize || !(Starts("GIF87a") || Starts("GIF89a")))
            return Fail("Not a GIF file");
        // A size beyond any picture the program holds is refused before a decoder tries to
        // allocate it.
        if (!Fits(6))
            return false;
        at_ = kHeaderSize;
        if (!SkipColourTable(data_[10]))
            return false;
        int images = 0;
        while (at_ < data_.size()) {
            const std::uint8_t introducer = data_[at_++];
            if (introducer == ';')
                break;
            if (introducer == '!') {
                // An extension: its label, then sub-blocks.
                if (at_ >= data_.size())
                    return Fail("The GIF file is truncated (extension)");
                ++at_;
                if (!SkipSubBlocks())
                    return false;
            } else if (introducer == ',') {
                if (!CheckImage())
                    return false;
                ++images;
            } else {
                return Fail("The GIF file has an unknown block");
            }
        }
        if (images == 0)
            return Fail("The GIF file holds no picture");
        return true;
    }

private:
    bool Fail(const char* text) {
        error_ = text;
        return false;
    }
    bool Starts(const char* signature) const {
        for (std::size_t i = 0; i < 6; ++i)
            if (data_[i] != static_cast<std::uint8_t>(signature[i]))
                return false;
        return true;
    }
    unsigned Word(std::size_t at) const { return data_[at] | (unsigned{data_[at + 1]} << 8); }
    // The width and height stored little-endian at this offset.
    bool Fits(std::size_t at) {
        if (!TBitmap32::ValidSize(static_cast<int>(Word(at)), static_cast<int>(Word(at + 2))))
            return Fail("The picture is too large");
        return true;
    }
    bool SkipColourTable(std::uint8_t flags) {
        if (!(flags & 0x80))
            return true;
        const std::size_t bytes = std::size_t{3} << ((flags & 7) + 1);
        if (data_.size() - at_ < bytes)
            return Fail("The GIF file is truncated (colour table)");
        at_ += bytes;
        return true;
    }
    bool SkipSubBlocks() {
        for (;;) {
            if (at_ >= data_.size())
                return Fail("The GIF file is truncated (data blocks)");
            const std::size_t length = data_[at_++];
            if (length == 0)
                return true;
            if (data_.size() - at_ < length)
                return Fail("The GIF file is truncated (data blocks)");
            at_ += length;
        }
    }

    bool CheckImage() {
        if (data_.size() - at_ < kDescriptorSize - 1)
            return Fail("The GIF file is truncated (image descriptor)");
        if (!Fits(at_ + 4))
            return false;
        const std::uint64_t pixels = std::uint64_t{Word(at_ + 4)} * Word(at_ + 6);
        const std::uint8_t flags = data_[at_ + 8];
        at_ += kDescriptorSize - 1;
        if (!SkipColourTable(flags))
            return false;
        if (at_ >= data_.size())
            return Fail("The GIF file is truncated (image data)");
        const unsigned minBits = data_[at_++];
        if (minBits < 2 || minBits > 8)
            return Fail("The GIF file has an invalid code size");
        const std::size_t first = at_;
        if (!SkipSubBlocks())
            return false;
        return CheckCodes(first, minBits, pixels);
    }

    // Follows the codes as a decoder builds its table: each code is a colour, the clear or
    // end code, a code already in the table, or the one about to be added; and together
    // they give every pixel of the image.
    bool CheckCodes(std::size_t at, unsigned minBits, std::uint64_t pixels) {
        std::array<std::uint16_t, 1u << kMaxCodeBits> lengths{}; // pixels each code stands for
        lengths.fill(1);
        std::uint64_t given = 0;
        unsigned previous = 0;
        const unsigned clear = 1u << minBits;
        const unsigned end = clear + 1;
        unsigned bits = minBits + 1;
        unsigned next = clear + 2;
        bool havePrevious = false;
        std::uint32_t buffer = 0;
        unsigned buffered = 0;
        std::size_t blockLeft = 0;
        for (;;) {
            while (buffered < bits) {
                if (blockLeft == 0) {
                    blockLeft = data_[at++];
                    if (blockLeft == 0)
                        return Complete(given, pixels); // no end code: what came may do
                }
                buffer |= std::uint32_t{data_[at++]} << buffered;
                buffered += 8;
                --blockLeft;
            }
            const unsigned code = buffer & ((1u << bits) - 1);
            buffer >>= bits;
            buffered -= bits;
            if (code == end)
                return Complete(given, pixels);
            if (code == clear) {
                bits = minBits + 1;
                next = clear + 2;
                havePrevious = false;
                continue;
            }
            if (!havePrevious ? code >= clear : code > next)
                return Fail("The GIF file has damaged image data");
            const unsigned length = code == next ? lengths[previous] + 1u : lengths[code];
            given += length;
            if (havePrevious && next < (1u << kMaxCodeBits)) {
                lengths[next] = static_cast<std::uint16_t>(lengths[previous] + 1u);
                ++next;
                if (next == (1u << bits) && bits < kMaxCodeBits)
                    ++bits;
            }
            havePrevious = true;
            previous = code;
        }
    }
    bool Complete(std::uint64_t given, std::uint64_t pixels) {
        return given >= pixels || Fail("The GIF file is truncated (image data)");
    }

    std::span<const std::uint8_t> data_;
    std::string& error_;
    std::size_t at_ = 0;
};

} // namespace

bool CheckGifStructure(std::span<const std::uint8_t> data, std::string& error) {
    return TGifWalker(data, error).Walk();
}
