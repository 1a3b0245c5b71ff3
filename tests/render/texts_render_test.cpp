#include <gtest/gtest.h>

#include <GL/gl.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "engine/tables.h"
#include "platform/posix/glyphs.h"
#include "support/osmesa.h"
#include "vindle.h"

namespace {

constexpr int kWidth = 320, kHeight = 200;
const Rgb kWhite{255, 255, 255};
const Rgb kRed{255, 0, 0};
const Rgb kBlack{0, 0, 0};

struct Box {
    int left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;  // inclusive
    int count = 0;
    int width() const { return count ? right - left + 1 : 0; }
    int height() const { return count ? top - bottom + 1 : 0; }
};

class TextRender : public ::testing::Test {
protected:
    TextRender() : context_(kWidth, kHeight) {}
    void SetUp() override {
        initEngineTables();
        clearGameUI();
        setBgColor(1, 1, 1);
        setViewPortPosition(0, 0);
        setGlyphCacheEnabled(true);
    }
    void TearDown() override { clearGameUI(); }

    // Draws the frame and reads it back bottom-up.
    std::vector<Rgb> frame() {
        renderFrame(kWidth, kHeight);
        std::vector<unsigned char> raw(static_cast<size_t>(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
        std::vector<Rgb> pixels(static_cast<size_t>(kWidth) * kHeight);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = Rgb{raw[4 * i], raw[4 * i + 1], raw[4 * i + 2]};
        return pixels;
    }

    // The bounding box of every pixel that is not the background.
    static Box ink(const std::vector<Rgb>& pixels) {
        Box box;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixels[static_cast<size_t>(y) * kWidth + x] != kWhite) {
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.bottom = std::min(box.bottom, y);
                    box.top = std::max(box.top, y);
                    ++box.count;
                }
        return box;
    }

    // How far the text pass moved the raster position from (x, y): the sum
    // of the advances of the last text drawn.
    static int penAdvance(int x) {
        GLfloat position[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        return static_cast<int>(position[0]) - x;
    }

    // Draws one text alone and reports its ink and advance.
    Box drawAlone(const char* text, int size, int* advance = nullptr) {
        clearGameUI();
        createText(1, text);
        setTextPosition(1, 20, 60);
        setTextFontSize(1, size);
        Box box = ink(frame());
        if (advance) *advance = penAdvance(20);
        return box;
    }

    OffscreenContext context_;
};

}  // namespace

TEST_F(TextRender, RedTextIsExactRedInsideItsBoxOnTheBaseLine) {
    createText(1, "EH");
    setTextPosition(1, 40, 50);
    setTextFontSize(1, 40);
    setTextColor(1, 1.0f, 0.0f, 0.0f);
    std::vector<Rgb> pixels = frame();
    const int advance = penAdvance(40);
    Box box = ink(pixels);
    for (const Rgb& p : pixels) ASSERT_TRUE(p == kWhite || p == kRed) << p.r << "," << p.g << "," << p.b;
    ASSERT_GT(box.count, 100);
    // Capitals stand on the base line, so the ink starts at the text's y.
    EXPECT_EQ(box.bottom, 50);
    EXPECT_LE(box.top, 50 + 40);
    EXPECT_GE(box.left, 40);
    EXPECT_LE(box.left, 40 + 6);
    EXPECT_LE(box.right, 40 + advance);
}

TEST_F(TextRender, ChineseGlyphsAreAsLargeAsTheFontSize) {
    int advance = 0;
    Box box = drawAlone("你", 40, &advance);
    // A full-width glyph advances by its em plus the emboldening.
    EXPECT_GE(advance, 40);
    EXPECT_LE(advance, 42);
    EXPECT_GE(box.height(), 34);
    EXPECT_GE(box.width(), 32);
}

TEST_F(TextRender, OneGlyphPerCharacterInUtf8AndGbk) {
    int one = 0, two = 0;
    Box ni = drawAlone("你", 30, &one);
    Box nini = drawAlone("你你", 30, &two);
    EXPECT_EQ(two, 2 * one);
    EXPECT_EQ(nini.width(), ni.width() + one);
    EXPECT_EQ(nini.height(), ni.height());

    int utf8Advance = 0, gbkAdvance = 0;
    drawAlone("你好", 30, &utf8Advance);
    std::vector<Rgb> utf8 = frame();
    drawAlone("\xc4\xe3\xba\xc3", 30, &gbkAdvance);
    std::vector<Rgb> gbk = frame();
    EXPECT_EQ(utf8Advance, 2 * one);
    EXPECT_EQ(gbkAdvance, 2 * one);
    EXPECT_TRUE(utf8 == gbk);
    // The first glyph of "你好" is the glyph of "你" alone; the second adds ink.
    Box nihao = ink(utf8);
    EXPECT_EQ(nihao.left, ni.left);
    EXPECT_GT(nihao.right, ni.right + one / 2);
}

TEST_F(TextRender, HiddenAndEmptyTextsLeaveTheBackground) {
    createText(1, "你好");
    setTextPosition(1, 10, 10);
    hideText(1);
    createText(2, "");
    setTextPosition(2, 50, 50);
    EXPECT_EQ(ink(frame()).count, 0);
    EXPECT_EQ(cachedGlyphCount(), 0);  // hidden texts rasterise nothing
    showText(1);
    EXPECT_GT(ink(frame()).count, 0);
}

TEST_F(TextRender, GlyphCacheChangesNoPixel) {
    createText(1, "得分 123");
    setTextPosition(1, 5, 150);
    createText(2, "你好 Vindle!");
    setTextPosition(2, -7, 100);
    setTextFontSize(2, 33);
    setTextColor(2, 0.2f, 0.6f, 0.9f);
    createText(3, "游戏");
    setTextPosition(3, 200, 20);
    setTextFontSize(3, 12);
    setGlyphCacheEnabled(false);
    std::vector<Rgb> uncached = frame();
    EXPECT_EQ(cachedGlyphCount(), 0);
    setGlyphCacheEnabled(true);
    std::vector<Rgb> first = frame();
    const int glyphs = cachedGlyphCount();
    std::vector<Rgb> second = frame();
    EXPECT_GT(ink(uncached).count, 0);
    EXPECT_TRUE(first == uncached);
    EXPECT_TRUE(second == uncached);
    // Glyphs are kept per size: 6 at 20, 10 at 33 (the "e" once), 2 at 12.
    EXPECT_EQ(glyphs, 18);
    EXPECT_EQ(cachedGlyphCount(), glyphs);
}

TEST_F(TextRender, OddSizesAndBadBytesNeitherCrashNorGrowWithoutBound) {
    int advance = 0;
    Box negative = drawAlone("你", -30, &advance);
    Box positive = drawAlone("你", 30);
    EXPECT_EQ(negative.count, positive.count);
    EXPECT_GT(drawAlone("你", 0).count, 0);
    // 10000 is drawn at the largest size the rasteriser takes: it covers
    // the whole small window.
    drawAlone("你", 10000, &advance);
    EXPECT_GE(advance, kMaxGlyphSize);
    EXPECT_LE(advance, kMaxGlyphSize + kMaxGlyphSize / 20);
    // Neither UTF-8 nor GBK: one replacement glyph per bad character.
    int replacement = 0, three = 0;
    drawAlone("\xff", 30, &replacement);
    EXPECT_GT(replacement, 0);
    drawAlone("\xff\xff\xff", 30, &three);
    EXPECT_EQ(three, 3 * replacement);
}

TEST_F(TextRender, ColoursOutsideTheRangeAreClampedByOpenGL) {
    createText(1, "EH");
    setTextPosition(1, 40, 50);
    setTextColor(1, 255.0f, -3.0f, 0.0f);
    for (const Rgb& p : frame()) ASSERT_TRUE(p == kWhite || p == kRed);
}

TEST_F(TextRender, ViewportShiftMovesTexts) {
    Box plain = drawAlone("EH", 30);
    setViewPortPosition(25, 10);
    Box shifted = ink(frame());
    EXPECT_EQ(shifted.left, plain.left + 25);
    EXPECT_EQ(shifted.bottom, plain.bottom + 10);
    EXPECT_EQ(shifted.count, plain.count);
}

TEST_F(TextRender, GameThreadChangesTextsWhileFramesDraw) {
    createText(1, "0");
    std::atomic<bool> stop{false};
    std::thread game([&] {
        for (int i = 0; !stop.load(); ++i) {
            char line[32];
            snprintf(line, sizeof line, "计数%d", i);
            setText(1, line);
            setTextPosition(1, i % 50, 20 + i % 7);
            setTextColor(1, static_cast<float>(i % 2), 0.0f, 0.0f);
            setTextFontSize(1, 14 + i % 20);
        }
    });
    for (int f = 0; f < 30; ++f) {
        std::vector<Rgb> pixels = frame();
        // A frame shows each text whole: one colour, never half-changed.
        Rgb colour = kWhite;
        for (const Rgb& p : pixels) {
            if (p == kWhite) continue;
            if (colour == kWhite) colour = p;
            ASSERT_EQ(p, colour) << "frame " << f;
        }
        ASSERT_TRUE(colour == kRed || colour == kBlack) << "frame " << f;
    }
    stop.store(true);
    game.join();
}
