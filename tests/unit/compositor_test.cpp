// The compositor's frame buffer at the edges of what a game can ask for:
// sizes, positions and pictures that must never overrun or over-allocate; and
// the inner loops of each processor's kind drawing what the portable ones do.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "render/compositor.h"

namespace {

std::vector<unsigned char> rgbaPicture(int width, int height, unsigned char alpha) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {10, 20, 30, alpha});
    return pixels;
}

int paintedPixels(Compositor& frame) {
    int painted = 0;
    for (int i = 0; i < frame.width() * frame.height(); ++i) painted += frame.pixels()[4 * i] != 255;
    return painted;
}

}  // namespace

TEST(Compositor, TheFrameFollowsTheWindowSizeAndEmptySizesAllocateNothing) {
    Compositor frame;
    frame.begin(40, 30, 1, 1, 1, 0, 0);
    ASSERT_NE(frame.pixels(), nullptr);
    EXPECT_EQ(frame.width(), 40);
    frame.begin(7, 90, 0, 0, 0, 0, 0);
    EXPECT_EQ(frame.height(), 90);
    EXPECT_EQ(frame.pixels()[4 * (7 * 90 - 1)], 0);  // the last pixel is cleared
    for (auto size : {std::pair{0, 30}, std::pair{40, 0}, std::pair{-5, 30}, std::pair{INT_MIN, INT_MIN},
                      std::pair{INT_MAX, INT_MAX}, std::pair{kMaxFrameSide + 1, 2}}) {
        frame.begin(size.first, size.second, 1, 1, 1, 0, 0);
        EXPECT_EQ(frame.pixels(), nullptr) << size.first << "x" << size.second;
        EXPECT_EQ(frame.width() * frame.height(), 0);
        // Drawing on an empty frame does nothing.
        const std::vector<unsigned char> picture = rgbaPicture(4, 4, 255);
        frame.drawPicture(0, 0, 4, 4, 6, picture.data(), true, true);
    }
}

TEST(Compositor, PicturesAnywhereAreClippedToTheFrame) {
    Compositor frame;
    const std::vector<unsigned char> picture = rgbaPicture(16, 8, 255);
    const int positions[] = {INT_MIN, INT_MIN + 1, -16, -15, -1, 0, 25, 31, 32, INT_MAX - 16, INT_MAX - 1, INT_MAX};
    for (int x : positions)
        for (int y : positions)
            for (int flips = 0; flips < 4; ++flips)
                for (int shift : {INT_MIN, -7, 0, 9, INT_MAX}) {
                    frame.begin(32, 24, 1, 1, 1, shift, -shift / 2);
                    frame.drawPicture(x, y, 16, 8, 6, picture.data(), flips & 1, flips & 2);
                    const int64_t left = static_cast<int64_t>(x) + shift, bottom = static_cast<int64_t>(y) - shift / 2;
                    const int64_t columns = std::max<int64_t>(0, std::min<int64_t>(left + 16, 32) - std::max<int64_t>(left, 0));
                    const int64_t rows = std::max<int64_t>(0, std::min<int64_t>(bottom + 8, 24) - std::max<int64_t>(bottom, 0));
                    ASSERT_EQ(paintedPixels(frame), columns * rows) << x << "," << y << " shift " << shift;
                }
    // Zero-size and other colour types draw nothing.
    frame.begin(32, 24, 1, 1, 1, 0, 0);
    frame.drawPicture(0, 0, 0, 8, 6, picture.data(), false, false);
    frame.drawPicture(0, 0, 16, -1, 6, picture.data(), false, false);
    frame.drawPicture(0, 0, 16, 8, 4, picture.data(), false, false);
    frame.drawPicture(0, 0, 16, 8, 6, nullptr, false, false);
    EXPECT_EQ(paintedPixels(frame), 0);
}

TEST(Compositor, GlyphsAnywhereAreClippedToTheFrame) {
    PlatformGlyph glyph;
    glyph.width = 9;
    glyph.height = 3;
    glyph.stride = 4;
    glyph.bits.assign(12, 0xFF);
    const uint8_t black[3] = {0, 0, 0};
    Compositor frame;
    for (int64_t x : {int64_t{INT_MIN} - 1000, int64_t{-9}, int64_t{-8}, int64_t{0}, int64_t{20}, int64_t{INT_MAX} + 5})
        for (int64_t y : {int64_t{INT_MIN}, int64_t{-3}, int64_t{-2}, int64_t{9}, int64_t{INT_MAX}}) {
            frame.begin(24, 10, 1, 1, 1, 0, 0);
            frame.drawGlyph(x, y, glyph, black);
            const int64_t columns = std::max<int64_t>(0, std::min<int64_t>(x + 9, 24) - std::max<int64_t>(x, 0));
            const int64_t rows = std::max<int64_t>(0, std::min<int64_t>(y + 3, 10) - std::max<int64_t>(y, 0));
            ASSERT_EQ(paintedPixels(frame), columns * rows) << x << "," << y;
        }
}

TEST(Compositor, EveryKindOfInnerLoopDrawsWhatThePortableOneDraws) {
    // Pictures of every width up to a few vector lengths, each block exactly
    // as large as its rows (the sanitizer build catches a read past one),
    // with runs of clear, opaque and blended pixels, drawn mirrored or not
    // across every edge of the frame, and a glyph over them; in the own
    // buffer and in lent memory of either component order, top row first,
    // with bytes between the rows that must stay as they are.
    std::mt19937 random(7);
    struct Picture {
        int width, height, colorType;
        std::vector<unsigned char> block;
    };
    std::vector<Picture> pictures;
    for (int width = 1; width <= 40; ++width)
        for (int colorType : {2, 6}) {
            Picture picture{width, 1 + width % 5, colorType, {}};
            const size_t row = colorType == 2 ? (3 * static_cast<size_t>(width) + 3) / 4 * 4 : 4 * static_cast<size_t>(width);
            picture.block.resize(row * static_cast<size_t>(picture.height));
            for (unsigned char& byte : picture.block) byte = static_cast<unsigned char>(random());
            if (colorType == 6)
                for (size_t i = 3; i < picture.block.size(); i += 4) {
                    const int run = static_cast<int>(i / 4 / 5 % 3);  // runs of five pixels
                    if (run < 2) picture.block[i] = run ? 255 : 0;
                }
            pictures.push_back(std::move(picture));
        }
    PlatformGlyph glyph;
    glyph.width = 9;
    glyph.height = 7;
    glyph.stride = 2;
    glyph.bits.assign(14, 0xA5);
    const uint8_t ink[3] = {200, 100, 50};
    constexpr int kW = 75, kH = 29, kGap = 12;  // rows long enough for every way of clearing
    enum Layout { kOwn, kLentRgba, kLentBgra };
    // The frame as RGBA rows bottom row first, whatever it was drawn in.
    auto drawAll = [&](Compositor& frame, Layout layout) {
        const ptrdiff_t rowBytes = kW * 4 + kGap;
        std::vector<unsigned char> lent(static_cast<size_t>(rowBytes) * kH, 0xAB);
        const PlatformFrameMemory memory{lent.data() + rowBytes * (kH - 1), -rowBytes, layout == kLentRgba};
        std::mt19937 place(11);
        frame.begin(kW, kH, 0.2f, 0.4f, 0.6f, 3, -2, layout == kOwn ? nullptr : &memory);
        for (int pass = 0; pass < 3; ++pass)
            for (const Picture& p : pictures) {
                const int x = static_cast<int>(place() % 100) - 45, y = static_cast<int>(place() % 40) - 8;
                const unsigned flips = place() % 4;
                frame.drawPicture(x, y, p.width, p.height, p.colorType, p.block.data(), flips & 1, flips & 2);
            }
        frame.drawGlyph(20, 10, glyph, ink);
        frame.finish();
        if (layout == kOwn) return std::vector<unsigned char>(frame.pixels(), frame.pixels() + kW * kH * 4);
        EXPECT_EQ(frame.pixels(), nullptr);
        std::vector<unsigned char> rgba;
        for (int y = 0; y < kH; ++y) {
            const unsigned char* row = memory.bottomRow + memory.rowStep * y;
            for (int x = 0; x < kW; ++x) {
                const unsigned char* p = row + 4 * x;
                rgba.insert(rgba.end(), {p[layout == kLentBgra ? 2 : 0], p[1], p[layout == kLentBgra ? 0 : 2], p[3]});
            }
            if (std::count(row + 4 * kW, row + rowBytes, 0xAB) != kGap) ADD_FAILURE() << "written between rows";
        }
        return rgba;
    };
    const std::vector<const char*> sets = compositorKernelSets();
    ASSERT_STREQ(sets.back(), "portable");
    ASSERT_TRUE(useCompositorKernels("portable"));
    Compositor frame;
    const std::vector<unsigned char> expected = drawAll(frame, kOwn);
    for (const char* set : sets)
        for (Layout layout : {kOwn, kLentRgba, kLentBgra}) {
            ASSERT_TRUE(useCompositorKernels(set));
            EXPECT_EQ(drawAll(frame, layout), expected) << set << ", layout " << layout;
        }
    useCompositorKernels(sets.front());
    EXPECT_FALSE(useCompositorKernels("none such"));
    printf("inner loops compared: %zu kinds\n", sets.size());
}
