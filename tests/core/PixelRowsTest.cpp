// The fast pixel loops against plain references written the direct way (true divisions,
// one pixel at a time), over a few thousand random pixels, master alphas and sizes, so that
// every vector path, its tails and its fallbacks give exactly the same pixels.
#include "core/PixelRows.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "core/Bitmap32Ops.h"
#include "core/EffectLib.h"
#include "core/ImgViewPaint.h"

namespace {

using namespace pixel_rows;

std::mt19937& Rng() {
    static std::mt19937 rng(20261207);
    return rng;
}
unsigned Byte() {
    return Rng()() & 0xFFu;
}
TColor32 AnyPixel() {
    return static_cast<TColor32>(Rng()());
}

// Random pixels whose alpha is often 0 or 255, the cases with their own paths.
std::vector<TColor32> Pixels(std::size_t count) {
    std::vector<TColor32> p(count);
    for (TColor32& c : p) {
        c = AnyPixel();
        const unsigned kind = Byte() % 4;
        if (kind == 0)
            c |= 0xFF000000u;
        else if (kind == 1)
            c &= 0x00FFFFFFu;
    }
    return p;
}

TBitmap32 RandomBitmap(int w, int h, unsigned colours = 0) {
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, colours ? (Byte() % colours) * 0x00404040u | (Byte() << 24) : AnyPixel());
    return b;
}

// Turns the wide loops on or off for one test, and back on afterwards.
struct TWideVectors {
    explicit TWideVectors(bool allow) { AllowWideVectors(allow); }
    ~TWideVectors() { AllowWideVectors(true); }
};

// The blend as first written: every step a true division, rounded to nearest.
TColor32 ReferenceBlend(TColor32 fg, TColor32 bg, std::uint8_t master) {
    const unsigned a = (AlphaComponent(fg) * unsigned{master} + 127u) / 255u;
    if (a == 0)
        return bg;
    const unsigned bgA = AlphaComponent(bg);
    const unsigned bgWeight = (bgA * (255u - a) + 127u) / 255u;
    const unsigned outA = a + bgWeight;
    auto mix = [&](unsigned f, unsigned b) {
        return static_cast<std::uint8_t>((f * a + b * bgWeight + outA / 2) / outA);
    };
    return Color32(mix(RedComponent(fg), RedComponent(bg)), mix(GreenComponent(fg), GreenComponent(bg)),
                   mix(BlueComponent(fg), BlueComponent(bg)), static_cast<std::uint8_t>(outA));
}

TEST(PixelRows, DivisionFormsAreExactOverTheirWholeRange) {
    for (unsigned v = 0; v <= 65534; ++v)
        ASSERT_EQ(Div255(v), v / 255) << v;
    for (unsigned d = 1; d < 256; ++d)
        for (unsigned n = 0; n <= 65535; n += (n < 1024 ? 1 : 7))
            ASSERT_EQ(DivSmall(n, d), n / d) << n << " / " << d;
}

TEST(PixelRows, BlendingMatchesTheDividingReferenceForEveryPathAndTail) {
    for (const bool wideVectors : {true, false}) {
        const TWideVectors width(wideVectors);
        // Counts that end after whole groups of sixteen or eight, after a group of four, and
        // in single pixels.
        for (const std::size_t count :
             {std::size_t{4103}, std::size_t{3}, std::size_t{12}, std::size_t{29}}) {
            const std::vector<TColor32> fg = Pixels(count);
            std::vector<TColor32> bg = Pixels(count);
            // A long opaque stretch takes the vector paths whole.
            for (std::size_t i = 0; i < (count < 64 ? count : count / 2); ++i)
                bg[i] |= 0xFF000000u;
            for (const unsigned master : {0u, 1u, 128u, 255u, Byte()}) {
                const auto m = static_cast<std::uint8_t>(master);
                std::vector<TColor32> fast = bg, plain = bg;
                BlendRow(fast.data(), fg.data(), count, m);
                BlendRowPlain(plain.data(), fg.data(), count, m);
                for (std::size_t i = 0; i < count; ++i) {
                    const TColor32 want = ReferenceBlend(fg[i], bg[i], m);
                    ASSERT_EQ(fast[i], want) << std::hex << fg[i] << " over " << bg[i] << " master " << master
                                             << (wideVectors ? " wide" : " 128-bit");
                    ASSERT_EQ(plain[i], want);
                    ASSERT_EQ(BlendPixel(fg[i], bg[i], m), want);
                }
            }
        }
    }
}

TEST(PixelRows, BlendingOverAnOpaqueBackgroundIsExactForEveryWeightAndChannelPair) {
    // Master alpha 255 makes the weight the source's alpha, so the rows below meet every
    // weight with every pair of source and background channel values, three pairs a pixel.
    constexpr std::size_t kPixels = (65536 + 2) / 3;
    std::vector<TColor32> fg(kPixels), bg(kPixels);
    for (unsigned weight = 0; weight < 256; ++weight) {
        for (std::size_t i = 0; i < kPixels; ++i) {
            TColor32 f = weight << 24, b = 0xFF000000u;
            for (unsigned channel = 0; channel < 3; ++channel) {
                const auto pair = static_cast<unsigned>((3 * i + channel) & 0xFFFFu);
                f |= (pair & 0xFFu) << (8 * channel);
                b |= (pair >> 8) << (8 * channel);
            }
            fg[i] = f;
            bg[i] = b;
        }
        for (const bool wideVectors : {true, false}) {
            const TWideVectors width(wideVectors);
            std::vector<TColor32> out = bg;
            BlendRow(out.data(), fg.data(), kPixels, 255);
            for (std::size_t i = 0; i < kPixels; ++i)
                ASSERT_EQ(out[i], ReferenceBlend(fg[i], bg[i], 255))
                    << std::hex << fg[i] << " over " << bg[i] << (wideVectors ? " wide" : " 128-bit");
        }
    }
}

TEST(PixelRows, ColourTablesMatchTheDirectLookUpWithAndWithoutThePairTable) {
    TLUT8 r{}, g{}, b{};
    for (std::size_t i = 0; i < 256; ++i) {
        r[i] = static_cast<std::uint8_t>(Byte());
        g[i] = static_cast<std::uint8_t>(Byte());
        b[i] = static_cast<std::uint8_t>(Byte());
    }
    const std::vector<TColor32> src = Pixels(5003);
    const std::vector<TColor32> old = Pixels(src.size());
    for (const std::size_t pixels : {src.size(), TLutApplier::kPairTablePixels}) {
        const TLutApplier tables(r, g, b, pixels);
        EXPECT_EQ(tables.UsesPairTable(), pixels >= TLutApplier::kPairTablePixels);
        for (const TAlphaFrom from : {TAlphaFrom::Dst, TAlphaFrom::Src, TAlphaFrom::Opaque}) {
            std::vector<TColor32> dst = old;
            tables.Apply(dst.data(), src.data(), src.size(), from);
            for (std::size_t i = 0; i < src.size(); ++i) {
                const TColor32 c = src[i];
                const std::uint8_t alpha = from == TAlphaFrom::Opaque ? 255
                                           : from == TAlphaFrom::Src  ? AlphaComponent(c)
                                                                      : AlphaComponent(old[i]);
                ASSERT_EQ(dst[i],
                          Color32(r[RedComponent(c)], g[GreenComponent(c)], b[BlueComponent(c)], alpha));
            }
            // In place, as the effects apply a table to a picture itself.
            std::vector<TColor32> same = src;
            tables.Apply(same.data(), same.data(), same.size(), TAlphaFrom::Dst);
            for (std::size_t i = 0; i < src.size(); ++i)
                ASSERT_EQ(same[i] >> 24, src[i] >> 24);
        }
    }
}

TEST(PixelRows, GreyInvertAlphaAndColourKeyRowsMatchTheirPlainLoops) {
    for (const std::size_t count : {std::size_t{2051}, std::size_t{2}}) {
        const std::vector<TColor32> src = Pixels(count);
        std::vector<TColor32> fast = src, plain = src;
        GrayRow(fast.data(), count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t v = Intensity(src[i]);
            ASSERT_EQ(fast[i], Color32(v, v, v, AlphaComponent(src[i])));
        }
        fast = src;
        XorRow(fast.data(), count, 0x00FFFFFFu);
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(fast[i], src[i] ^ 0x00FFFFFFu);
        fast = src;
        SetAlphaRow(fast.data(), src.data(), count, 0x7F);
        SetAlphaRowPlain(plain.data(), src.data(), count, 0x7F);
        EXPECT_EQ(fast, plain);
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(fast[i], (src[i] & 0x00FFFFFFu) | 0x7F000000u);
        // A colour that many pixels share, so that some match and some do not.
        std::vector<TColor32> keyed = src;
        for (std::size_t i = 0; i < count; i += 3)
            keyed[i] = (keyed[i] & 0xFF000000u) | 0x00123456u;
        fast = keyed;
        ClearAlphaOfColorRow(fast.data(), count, 0xFF123456u);
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(fast[i], (keyed[i] & 0x00FFFFFFu) == 0x123456u ? 0x00123456u : keyed[i]);
    }
}

TEST(PixelRows, NoiseRowsLimitEveryDrawAndSaturateEachChannel) {
    const std::size_t count = 4097;
    const std::vector<TColor32> src = Pixels(count);
    std::vector<int> draws(count);
    for (int& d : draws) {
        const unsigned kind = Byte() % 8;
        d = kind == 0   ? INT_MIN
            : kind == 1 ? INT_MAX
            : kind == 2 ? -static_cast<int>(Byte())
                        : static_cast<int>(Rng()() % 1200);
    }
    for (const int range : {2, 100, 1000, INT_MAX}) {
        std::vector<TColor32> fast(count), plain(count);
        AddNoiseRow(fast.data(), src.data(), draws.data(), count, range);
        AddNoiseRowPlain(plain.data(), src.data(), draws.data(), count, range);
        ASSERT_EQ(fast, plain) << range;
        for (std::size_t i = 0; i < count; ++i) {
            const long long draw = std::clamp<long long>(draws[i], 0, range - 1LL);
            const auto d = static_cast<unsigned>(std::clamp<long long>(draw - range / 2, 0, 255));
            auto add = [&](std::uint8_t v) { return static_cast<std::uint8_t>(std::min(v + d, 255u)); };
            const TColor32 c = src[i];
            ASSERT_EQ(fast[i], Color32(add(RedComponent(c)), add(GreenComponent(c)), add(BlueComponent(c)),
                                       AlphaComponent(c)));
        }
    }
}

TEST(PixelRows, ChannelRangesAndMatchingRunsAgreeWithPlainScans) {
    for (int round = 0; round < 200; ++round) {
        const std::size_t count = 1 + Rng()() % 300;
        std::vector<TColor32> p(count);
        for (TColor32& c : p)
            c = 0x0000A000u + (Byte() % 40) * 0x010203u + (Byte() << 24);
        TChannelRange fast, plain;
        WidenChannelRange(fast, p.data(), count);
        WidenChannelRangePlain(plain, p.data(), count);
        ASSERT_EQ(std::tie(fast.MinR, fast.MinG, fast.MinB, fast.MaxR, fast.MaxG, fast.MaxB),
                  std::tie(plain.MinR, plain.MinG, plain.MinB, plain.MaxR, plain.MaxG, plain.MaxB));
        // Runs of one colour whatever the alpha, broken at a random place.
        const TColor32 rgb = 0x00336699u;
        for (TColor32& c : p)
            c = rgb | (Byte() << 24);
        const std::size_t brk = Rng()() % (count + 1);
        if (brk < count)
            p[brk] ^= 0x00000100u;
        ASSERT_EQ(MatchingRun(p.data(), count, rgb), brk < count ? brk : count);
        ASSERT_EQ(MatchingRun(p.data(), count, rgb), MatchingRunPlain(p.data(), count, rgb));
        const std::size_t back = MatchingRunBack(p.data() + count, count, rgb);
        ASSERT_EQ(back, brk < count ? count - 1 - brk : count);
    }
}

TEST(PixelRows, QuarterTurnsAndFlipsMoveEveryPixelWhereTheDirectFormulaSays) {
    for (const auto& [w, h] : {std::pair{67, 130}, std::pair{1, 9}, std::pair{130, 5}, std::pair{4, 4}}) {
        const TBitmap32 src = RandomBitmap(w, h);
        TBitmap32 cw = src, ccw = src, flipH = src, flipV = src;
        Rotate90(cw);
        Rotate270(ccw);
        FlipHorz(flipH);
        FlipVert(flipV);
        ASSERT_EQ(cw.Width(), h);
        ASSERT_EQ(ccw.Height(), w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(cw.Pixel(h - 1 - y, x), src.Pixel(x, y));
                ASSERT_EQ(ccw.Pixel(y, w - 1 - x), src.Pixel(x, y));
                ASSERT_EQ(flipH.Pixel(w - 1 - x, y), src.Pixel(x, y));
                ASSERT_EQ(flipV.Pixel(x, h - 1 - y), src.Pixel(x, y));
            }
    }
}

// The fill as first written: every 4-connected pixel of the seed's R, G, B, one at a time.
std::int64_t ReferenceFill(TBitmap32& b, int x, int y, TColor32 color) {
    const TColor32 target = b.Pixel(x, y) & 0x00FFFFFFu;
    std::vector<bool> seen(static_cast<std::size_t>(b.Width() * b.Height()));
    std::vector<TPoint> todo{{x, y}};
    std::int64_t filled = 0;
    while (!todo.empty()) {
        const TPoint p = todo.back();
        todo.pop_back();
        if (!b.Contains(p.X, p.Y) || seen[static_cast<std::size_t>(p.Y * b.Width() + p.X)] ||
            (b.Pixel(p.X, p.Y) & 0x00FFFFFFu) != target)
            continue;
        seen[static_cast<std::size_t>(p.Y * b.Width() + p.X)] = true;
        b.SetPixel(p.X, p.Y, color);
        ++filled;
        todo.insert(todo.end(), {{p.X + 1, p.Y}, {p.X - 1, p.Y}, {p.X, p.Y + 1}, {p.X, p.Y - 1}});
    }
    return filled;
}

TEST(PixelRows, FloodFillFindsExactlyTheConnectedRegionOnRandomPictures) {
    for (int round = 0; round < 150; ++round) {
        const int w = 1 + static_cast<int>(Rng()() % 40);
        const int h = 1 + static_cast<int>(Rng()() % 30);
        // Two or three colours make winding regions with holes and leaks around corners.
        const TBitmap32 picture = RandomBitmap(w, h, round % 2 == 0 ? 2u : 3u);
        const int x = static_cast<int>(Rng()() % static_cast<unsigned>(w));
        const int y = static_cast<int>(Rng()() % static_cast<unsigned>(h));
        // Sometimes the seed's own colour with another alpha: filled pixels still match.
        const TColor32 color =
            round % 5 == 0 ? (picture.Pixel(x, y) & 0x00FFFFFFu) | 0x80000000u : 0xFF0000FFu;
        TBitmap32 fast = picture, reference = picture;
        ASSERT_EQ(FloodFill(fast, x, y, color), ReferenceFill(reference, x, y, color)) << round;
        ASSERT_EQ(fast, reference) << round;
    }
}

// Nearest-neighbour drawing as first written: one pixel at a time, per-pixel blend.
void ReferenceDrawNearest(TBitmap32& dst, const TBitmap32& src, double ox, double oy, double sx, double sy,
                          TDrawMode mode, std::uint8_t master) {
    for (int y = 0; y < dst.Height(); ++y) {
        const double ry = std::floor((y - oy) / sy);
        if (ry < 0 || ry >= src.Height())
            continue;
        for (int x = 0; x < dst.Width(); ++x) {
            const double rx = std::floor((x - ox) / sx);
            if (rx < 0 || rx >= src.Width())
                continue;
            const TColor32 in = src.Pixel(static_cast<int>(rx), static_cast<int>(ry));
            dst.SetPixel(x, y,
                         mode == TDrawMode::dmOpaque ? in : ReferenceBlend(in, dst.Pixel(x, y), master));
        }
    }
}

TEST(PixelRows, ZoomedDrawingAndBlendingMatchThePixelByPixelReference) {
    for (const double scale : {0.25, 1.0, 3.7, 10.0}) {
        const TBitmap32 src = RandomBitmap(37, 23);
        for (const TDrawMode mode : {TDrawMode::dmOpaque, TDrawMode::dmBlend}) {
            TBitmap32 back = RandomBitmap(61, 47);
            back.ResetAlpha(); // most rows opaque, as over the checkerboard
            for (int x = 0; x < back.Width(); x += 5)
                back.SetPixel(x, 3, back.Pixel(x, 3) & 0x7FFFFFFFu);
            const double ox = -7.3 + Byte() % 20, oy = -5.6 + Byte() % 10;
            const auto master = static_cast<std::uint8_t>(Byte());
            TBitmap32 fast = back, reference = back;
            DrawNearest(fast, src, ox, oy, scale, scale, mode, master);
            ReferenceDrawNearest(reference, src, ox, oy, scale, scale, mode, master);
            ASSERT_EQ(fast, reference) << scale;
        }
    }
    // Draw at scale 1 with clipping on every side.
    const TBitmap32 layer = RandomBitmap(30, 20);
    TBitmap32 fast = RandomBitmap(25, 25), reference = fast;
    Draw(fast, -3, 9, layer, TDrawMode::dmBlend, 77);
    ReferenceDrawNearest(reference, layer, -3, 9, 1, 1, TDrawMode::dmBlend, 77);
    EXPECT_EQ(fast, reference);
}

TEST(PixelRows, TheCheckerboardLeavesExactlyWhatAnOpaquePictureCovers) {
    const TBitmap32 src(37, 23, 0xFF00FF00u);
    const TBitmap32 sentinel(61, 47, 0x12345678u);
    TBitmap32 full = sentinel;
    PaintCheckerboard(full);
    for (const double scale : {0.25, 1.0, 3.7, 10.0}) {
        for (int round = 0; round < 8; ++round) {
            // Origins from far outside on one side to far outside on the other.
            const double ox = -400.0 + Byte() * 3.3, oy = -300.0 + Byte() * 2.1;
            const TRect cover = NearestCoverage(61, 47, 37, 23, ox, oy, scale, scale);
            TBitmap32 drawn = sentinel, part = sentinel;
            DrawNearest(drawn, src, ox, oy, scale, scale, TDrawMode::dmOpaque);
            PaintCheckerboard(part, cover);
            for (int y = 0; y < 47; ++y)
                for (int x = 0; x < 61; ++x) {
                    const bool inside =
                        x >= cover.Left && x < cover.Right && y >= cover.Top && y < cover.Bottom;
                    ASSERT_EQ(drawn.Pixel(x, y) != sentinel.Pixel(x, y), inside) << x << "," << y;
                    ASSERT_EQ(part.Pixel(x, y), inside ? sentinel.Pixel(x, y) : full.Pixel(x, y));
                }
        }
    }
}

TEST(PixelRows, MosaicBlocksTakeTheirTopLeftPixelInPlaceOrNot) {
    for (const int n : {2, 5, 16}) {
        const TBitmap32 src = RandomBitmap(41, 19);
        TBitmap32 dst, inPlace = src;
        EffectMosaic(dst, src, n);
        EffectMosaic(inPlace, inPlace, n);
        ASSERT_EQ(dst, inPlace);
        for (int y = 0; y < src.Height(); ++y)
            for (int x = 0; x < src.Width(); ++x)
                ASSERT_EQ(dst.Pixel(x, y), src.Pixel(x - x % n, y - y % n));
    }
}

TEST(PixelRows, TheProgramsNoiseDrawsAreTheSameWithAndWithoutVectorsAndStayUniform) {
    TStdRandomSource fast(7), plain(7);
    std::vector<int> a(4099), b(4099);
    for (const int n : {2, 10, 1000, INT_MAX}) {
        fast.RandomRow(n, a.data(), a.size());
        plain.RandomRowPlain(n, b.data(), b.size());
        ASSERT_EQ(a, b) << n;
        for (const int v : a)
            ASSERT_TRUE(v >= 0 && v < n) << v;
    }
    // Each of ten values comes up about a tenth of the time.
    std::vector<int> counts(10);
    for (int round = 0; round < 25; ++round) {
        fast.RandomRow(10, a.data(), a.size());
        for (const int v : a)
            ++counts[static_cast<std::size_t>(v)];
    }
    for (const int c : counts)
        EXPECT_NEAR(c, 25 * 4099 / 10, 25 * 4099 / 10 / 10);
    // Noise 100 leaves about half the pixels as they were and adds at most 49.
    const TBitmap32 grey(200, 100, 0xFF404040u);
    TBitmap32 noisy;
    EffectNoise(noisy, grey, 100, fast);
    int unchanged = 0;
    for (int y = 0; y < noisy.Height(); ++y)
        for (int x = 0; x < noisy.Width(); ++x) {
            const TColor32 c = noisy.Pixel(x, y);
            unchanged += c == 0xFF404040u ? 1 : 0;
            ASSERT_LE(RedComponent(c) - 0x40, 49);
            ASSERT_TRUE(RedComponent(c) == GreenComponent(c) && GreenComponent(c) == BlueComponent(c));
        }
    EXPECT_NEAR(unchanged, 10200, 600);
}

TEST(PixelRows, AppendedRowsKeepTheRowsAboveAndRefuseAnotherWidth) {
    TBitmap32 b;
    FillRow(b.AppendRows(3, 2), 6, 0xFF111111u);
    b.Reserve(3 * 10);
    FillRow(b.AppendRows(3, 1), 3, 0xFF222222u);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF111111u);
    EXPECT_EQ(b.Pixel(0, 2), 0xFF222222u);
    EXPECT_THROW(b.AppendRows(4, 1), std::invalid_argument);
    EXPECT_THROW(b.AppendRows(3, -1), std::invalid_argument);
    EXPECT_THROW(b.AppendRows(3, TBitmap32::kMaxSide), std::length_error);
    EXPECT_EQ(b.Height(), 3);
}

} // namespace
