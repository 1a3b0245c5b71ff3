#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/settings.h"
#include "core/tables.h"
#include "platform/linux/glyphs.h"
#include "platform/seam.h"
#include "scene/glyphs.h"
#include "scene/objects.h"
#include "support/fatal.h"
#include "support/osmesa.h"
#include "vindle.h"

namespace {

constexpr int kWidth = 320, kHeight = 200;
const Rgb kWhite{255, 255, 255}, kRed{255, 0, 0}, kBlack{0, 0, 0};

struct Ink {
    int left = kWidth, bottom = kHeight, right = -1, top = -1, count = 0;  // inclusive
    int width() const { return count ? right - left + 1 : 0; }
};

class TextRender : public ::testing::Test {
protected:
    TextRender() : context_(kWidth, kHeight) {}
    void SetUp() override {
        clearGameUI();
        setBgColor(1, 1, 1);
        setGlyphCacheEnabled(true);
    }
    void TearDown() override { clearGameUI(); }

    std::vector<Rgb> frame() {
        renderFrame(kWidth, kHeight);
        std::vector<unsigned char> raw(kWidth * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
        std::vector<Rgb> pixels(kWidth * kHeight);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = Rgb{raw[4 * i], raw[4 * i + 1], raw[4 * i + 2]};
        return pixels;
    }

    static Ink ink(const std::vector<Rgb>& pixels) {
        Ink box;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixels[y * kWidth + x] != kWhite) {
                    box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                    box.bottom = std::min(box.bottom, y), box.top = std::max(box.top, y);
                    ++box.count;
                }
        return box;
    }

    // The sum of the advances of a text: where it leaves the pen.
    static int penAdvance(const char* text, int size) { return static_cast<int>(layoutText(text, size)->advance); }

    // Draws one text alone at (20, 60).
    Ink drawAlone(const char* text, int size, int* advance = nullptr) {
        clearGameUI();
        createText(1, text);
        setTextPosition(1, 20, 60);
        setTextFontSize(1, size);
        Ink box = ink(frame());
        if (advance) *advance = penAdvance(text, size);
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
    const int advance = penAdvance("EH", 40);
    for (const Rgb& p : pixels) ASSERT_TRUE(p == kWhite || p == kRed);
    Ink box = ink(pixels);
    ASSERT_GT(box.count, 100);
    EXPECT_EQ(box.bottom, 50);  // capitals stand on the base line
    EXPECT_LE(box.top, 50 + 40);
    EXPECT_GE(box.left, 40);
    EXPECT_LE(box.left, 40 + 6);
    EXPECT_LE(box.right, 40 + advance);
    // Out-of-range colours are stored as given and clamped only by OpenGL.
    setTextColor(1, 255.0f, -3.0f, 0.0f);
    EXPECT_TRUE(frame() == pixels);
}

TEST_F(TextRender, ChineseGlyphsTakeTheFontSizeAsTheirEm) {
    int advance = 0;
    Ink box = drawAlone("你", 40, &advance);
    EXPECT_GE(advance, 40);  // the em plus the emboldening
    EXPECT_LE(advance, 42);
    EXPECT_GE(box.top - box.bottom + 1, 34);
    EXPECT_GE(box.width(), 32);
}

TEST_F(TextRender, OneGlyphPerCharacterInUtf8AndGbk) {
    int one = 0, two = 0, gbkAdvance = 0;
    Ink ni = drawAlone("你", 30, &one);
    EXPECT_EQ(drawAlone("你你", 30, &two).width(), ni.width() + one);
    EXPECT_EQ(two, 2 * one);
    drawAlone("你好", 30, &two);
    std::vector<Rgb> utf8 = frame();
    drawAlone("\xc4\xe3\xba\xc3", 30, &gbkAdvance);
    EXPECT_EQ(two, 2 * one);
    EXPECT_EQ(gbkAdvance, 2 * one);
    EXPECT_TRUE(frame() == utf8);
    Ink nihao = ink(utf8);
    EXPECT_EQ(nihao.left, ni.left);
    EXPECT_GT(nihao.right, ni.right + one / 2);
}

TEST_F(TextRender, HiddenAndEmptyTextsLeaveTheBackground) {
    createText(1, "你好");
    hideText(1);
    createText(2, "");
    setTextPosition(2, 50, 50);
    setGlyphCacheEnabled(true);  // empties the cache
    EXPECT_EQ(ink(frame()).count, 0);
    EXPECT_EQ(cachedGlyphCount(), 0);  // a hidden text rasterises nothing
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
    setTextFontSize(3, 12);
    setGlyphCacheEnabled(false);
    std::vector<Rgb> uncached = frame();
    EXPECT_GT(ink(uncached).count, 0);
    EXPECT_EQ(cachedGlyphCount(), 0);
    setGlyphCacheEnabled(true);
    EXPECT_TRUE(frame() == uncached);
    // Kept per size: 6 glyphs at 20, 10 at 33 (one "e"), 2 at 12.
    EXPECT_EQ(cachedGlyphCount(), 18);
    EXPECT_TRUE(frame() == uncached);
    EXPECT_EQ(cachedGlyphCount(), 18);
}

TEST_F(TextRender, OddSizesAndBadBytesAreDrawnSafely) {
    int advance = 0;
    EXPECT_EQ(drawAlone("你", -30).count, drawAlone("你", 30).count);
    EXPECT_GT(drawAlone("你", 0).count, 0);
    drawAlone("你", 10000, &advance);  // rasterised at the largest size
    EXPECT_GE(advance, kMaxGlyphSize);
    EXPECT_LE(advance, kMaxGlyphSize + kMaxGlyphSize / 20);
    int replacement = 0, three = 0;
    drawAlone("\xff", 30, &replacement);
    drawAlone("\xff\xff\xff", 30, &three);
    EXPECT_GT(replacement, 0);
    EXPECT_EQ(three, 3 * replacement);
}

TEST_F(TextRender, AFrameNeverShowsATextHalfChanged) {
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
        Rgb colour = kWhite;
        for (const Rgb& p : frame()) {
            if (p == kWhite) continue;
            if (colour == kWhite) colour = p;
            ASSERT_TRUE(p == colour) << "frame " << f;
        }
        ASSERT_TRUE(colour == kRed || colour == kBlack) << "frame " << f;
    }
    stop.store(true);
    game.join();
}

TEST_F(TextRender, ALongTextShowsWhatItsVisiblePartShows) {
    // Glyphs far outside the window are skipped, yet every visible one is
    // drawn where the whole text puts it, on either side of the window.
    const int advance = penAdvance("W", 20);
    ASSERT_GT(advance, 0);
    const int many = 300000;
    auto textFrame = [&](const std::string& text, int x) {
        clearGameUI();
        createText(1, text.c_str());
        setTextPosition(1, x, 60);
        return frame();
    };
    const std::vector<Rgb> shortLeft = textFrame(std::string(20, 'W') + "Hi", -18 * advance);
    EXPECT_GT(ink(shortLeft).count, 0);
    EXPECT_TRUE(textFrame(std::string(many, 'W') + "Hi", -(many - 2) * advance) == shortLeft);
    const std::vector<Rgb> shortRight = textFrame("Hi" + std::string(kWidth / advance + 2, 'W'), 10);
    EXPECT_TRUE(textFrame("Hi" + std::string(many, 'W'), 10) == shortRight);
}

// A long text of many characters at a large size took a minute of glyphs
// with the engine lock held, and the window stood still. The thread that sets
// a string or a size rasterises its glyphs before it takes the lock; a frame
// that meets glyphs the cache lacks rasterises only for a while and leaves
// the rest to the next frames, which it asks for.
TEST_F(TextRender, GlyphsAreRasterisedWithTheLockFreeAndAFrameRasterisesForABoundedTime) {
    static std::atomic<int> rasterisedUnderTheLock;
    rasterisedUnderTheLock = 0;
    platformSetGlyphWatcher([](char32_t, int) {
        if (!engineLockTakenByAnotherThread()) ++rasterisedUnderTheLock;
    });
    createText(1, "甲乙");
    setTextPosition(1, 10, 60);
    setText(1, "丙丁戊");
    setTextFontSize(1, 30);
    const std::vector<Rgb> whole = frame();
    platformSetGlyphWatcher(nullptr);
    EXPECT_EQ(rasterisedUnderTheLock.load(), 0);

    setGlyphCacheEnabled(true);  // empties the cache
    setFrameGlyphTime(std::chrono::microseconds(0));
    std::vector<int> cached;
    std::vector<bool> askedAgain;
    for (int f = 0; f < 4; ++f) {
        const uint64_t before = sceneVersion();
        const std::vector<Rgb> pixels = frame();
        cached.push_back(cachedGlyphCount());
        askedAgain.push_back(sceneVersion() != before);
        if (f == 3) {
            EXPECT_TRUE(pixels == whole);
        }
    }
    setFrameGlyphTime(std::chrono::milliseconds(20));
    EXPECT_EQ(cached, (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(askedAgain, (std::vector<bool>{true, true, false, false}));
}
