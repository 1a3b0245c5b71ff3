// The sprite pass drawn offscreen: placement, mirroring, sizes and the faults
// found while drawing.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/tables.h"
#include "scene/animation.h"
#include "support/fatal.h"
#include "support/osmesa.h"
#include "support/pngfiles.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;
const Rgb kWhite{255, 255, 255};

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return s;
}

class SpritePass : public ::testing::Test {
protected:
    void SetUp() override {
        initEngineTables();
        clearGameUI();
        reportFatalBoxes();
        setResourcesDir(res.root().c_str());
        setBgColor(1.0f, 1.0f, 1.0f);
        setViewPortPosition(0, 0);
    }
    void TearDown() override {
        clearGameUI();
        setResourcesDir("");
        platformSetMessageBoxHook(nullptr);
    }
    // Writes a frame file; returns its full path.
    std::string frame(const std::string& relative, const PngPicture& picture) {
        std::string path = res.file("Sprites/" + relative);
        EXPECT_TRUE(writePng(path, picture));
        return path;
    }
    void render() { renderFrame(kWidth, kHeight); }

    TempResources res;
    OffscreenContext gl{kWidth, kHeight};
};

// The child of a threadsafe death test runs in a temporary folder of its own:
// a pattern that accepts any six-character folder name in place of the root's.
std::string anyRoot(std::string pattern, const std::string& root, const std::string& characters) {
    const std::string literal = boxShowing(root).substr(5, boxShowing(root).size() - 11);
    const size_t at = pattern.find(literal);
    if (at == std::string::npos) return pattern;
    const std::string prefix = literal.substr(0, literal.size() - 6);
    return pattern.replace(at, literal.size(), prefix + characters + "{6}");
}

// The forked child of a death test would inherit a context whose rendering
// threads did not survive the fork; a fresh process makes its own.
class SpritePassDeathTest : public SpritePass {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    static void TearDownTestSuite() { GTEST_FLAG_SET(death_test_style, "fast"); }
};

// Pixel (i, j) of a pattern picture, j counted from its bottom row.
Rgb patternPixel(int i, int j, int height) {
    const int top = height - 1 - j;
    return Rgb{sampleAt(i, top, 0), sampleAt(i, top, 1), sampleAt(i, top, 2)};
}

TEST_F(SpritePass, FramesAreMirroredInsideTheSameRectangle) {
    const int w = 4, h = 3, x = 5, y = 7;
    frame("hero/walk/1.png", patternPicture(w, h, 3));
    createSprite(1, "hero");
    setSpritePosition(1, x, y);
    playSpriteAnimate(1, "walk");

    struct Case {
        int flipX, flipY;
    };
    // 5 and -1 mirror as 1 does.
    for (Case c : {Case{0, 0}, Case{1, 0}, Case{0, 1}, Case{5, -1}}) {
        setSpriteFlipX(1, c.flipX);
        setSpriteFlipY(1, c.flipY);
        render();
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const int sourceI = c.flipX ? w - 1 - i : i;
                const int sourceJ = c.flipY ? h - 1 - j : j;
                ASSERT_EQ(gl.at(x + i, y + j), patternPixel(sourceI, sourceJ, h))
                    << "flip " << c.flipX << "," << c.flipY << " at " << i << "," << j;
            }
        // Nothing outside the rectangle.
        for (int i = -1; i <= w; ++i) {
            EXPECT_EQ(gl.at(x + i, y - 1), kWhite);
            EXPECT_EQ(gl.at(x + i, y + h), kWhite);
        }
        for (int j = 0; j < h; ++j) {
            EXPECT_EQ(gl.at(x - 1, y + j), kWhite);
            EXPECT_EQ(gl.at(x + w, y + j), kWhite);
        }
    }
}

TEST_F(SpritePass, ZoomIsResetForWhateverIsDrawnNext) {
    frame("hero/walk/1.png", solidPicture(2, 2, {200, 0, 0}));
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    setSpriteFlipX(1, 1);
    setSpriteFlipY(1, 1);
    render();
    EXPECT_EQ(gl.at(0, 0), (Rgb{200, 0, 0}));
    EXPECT_EQ(gl.at(1, 1), (Rgb{200, 0, 0}));
    // The texts drawn after the sprites, and the images of the next frame,
    // must not inherit the mirror.
    GLfloat zoomX = 0.0f, zoomY = 0.0f;
    glGetFloatv(GL_ZOOM_X, &zoomX);
    glGetFloatv(GL_ZOOM_Y, &zoomY);
    EXPECT_EQ(zoomX, 1.0f);
    EXPECT_EQ(zoomY, 1.0f);
}

TEST_F(SpritePass, SpritesDrawInVisitingOrderAndRgbaBlends) {
    frame("a/s/1.png", solidPicture(3, 3, {255, 0, 0}));
    frame("b/s/1.png", solidPicture(3, 3, {0, 0, 255, 255}));
    PngPicture holes = solidPicture(3, 3, {0, 255, 0, 255});
    holes.rows[3] = 0;  // pixel (0, top row) fully transparent
    holes.rows[7] = 0;  // pixel (1, top row) as well
    frame("c/s/1.png", holes);
    createSprite(1000, "a");  // same bucket as 1, created first: drawn first
    createSprite(1, "b");
    createSprite(2, "c");
    for (int id : {1000, 1, 2}) playSpriteAnimate(id, "s");
    setSpritePosition(1, 1, 1);  // over the upper-right 2 x 2 of sprite 1000
    setSpritePosition(2, 10, 10);
    render();
    EXPECT_EQ(gl.at(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(gl.at(1, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(gl.at(2, 2), (Rgb{0, 0, 255}));
    EXPECT_EQ(gl.at(10, 12), kWhite);  // transparent: the background shows
    EXPECT_EQ(gl.at(11, 12), kWhite);
    EXPECT_EQ(gl.at(12, 12), (Rgb{0, 255, 0}));
    EXPECT_EQ(gl.at(10, 10), (Rgb{0, 255, 0}));
}

TEST_F(SpritePass, SpritesCoverImagesWhateverTheirNumbers) {
    EXPECT_TRUE(writePng(res.file("Images/bg.png"), solidPicture(6, 6, {0, 200, 0})));
    frame("hero/walk/1.png", solidPicture(2, 2, {200, 0, 0}));
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    createImage(500, "bg.png");  // created later, in a later bucket: still below
    setSpritePosition(1, 2, 2);
    render();
    EXPECT_EQ(gl.at(2, 2), (Rgb{200, 0, 0}));
    EXPECT_EQ(gl.at(3, 3), (Rgb{200, 0, 0}));
    EXPECT_EQ(gl.at(4, 4), (Rgb{0, 200, 0}));
    EXPECT_EQ(gl.at(1, 1), (Rgb{0, 200, 0}));
}

TEST_F(SpritePass, SizeFollowsTheFrameDrawnLast) {
    const std::string first = frame("hero/walk/1.png", solidPicture(4, 3, {10, 20, 30}));
    frame("hero/walk/2.png", solidPicture(6, 5, {40, 50, 60}));
    createSprite(1, "hero");
    EXPECT_EQ(getSpriteWidth(1), 0);
    render();  // no action yet: nothing drawn, no size
    EXPECT_EQ(getSpriteWidth(1), 0);
    EXPECT_EQ(getSpriteHeight(1), 0);
    playSpriteAnimate(1, "walk");
    EXPECT_EQ(getSpriteWidth(1), 0);  // given an action, not yet drawn
    render();
    EXPECT_EQ(getSpriteWidth(1), 4);
    EXPECT_EQ(getSpriteHeight(1), 3);
    EXPECT_EQ(gl.at(3, 2), (Rgb{10, 20, 30}));
    EXPECT_EQ(gl.at(4, 2), kWhite);
    advanceAnimations();
    EXPECT_EQ(getSpriteWidth(1), 4);  // the timer alone changes no size
    render();
    EXPECT_EQ(getSpriteWidth(1), 6);
    EXPECT_EQ(getSpriteHeight(1), 5);
    EXPECT_EQ(gl.at(5, 4), (Rgb{40, 50, 60}));
    // Drawing leaves the stored frame path as listed.
    lockEngine();
    auto* sprite = static_cast<SpriteRecord*>(getHashValue(spriteTable, intKey(1)));
    const std::string stored = sprite->frames->next->path;
    unlockEngine();
    EXPECT_EQ(stored, first);
}

TEST_F(SpritePass, HiddenSpritesAreNotLoadedAndKeepTheirSize) {
    frame("hero/walk/1.png", solidPicture(4, 3, {10, 20, 30}));
    const std::string second = frame("hero/walk/2.png", solidPicture(6, 5, {40, 50, 60}));
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    render();
    hideSprite(1);
    advanceAnimations();
    std::filesystem::remove(second);  // would be fatal if it were loaded
    render();
    EXPECT_EQ(gl.at(0, 0), kWhite);
    EXPECT_EQ(getSpriteWidth(1), 4);
    EXPECT_EQ(getSpriteHeight(1), 3);
}

TEST_F(SpritePass, ActionWithoutFramesDrawsNothing) {
    res.file("Sprites/hero/empty/readme.txt", "no frames here");
    createSprite(1, "hero");
    playSpriteAnimate(1, "empty");
    render();
    advanceAnimations();
    render();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(gl.at(i, i), kWhite);
    EXPECT_EQ(getSpriteWidth(1), 0);
}

TEST_F(SpritePassDeathTest, UndecodableFrameIsFatalWhenFirstDrawn) {
    const std::string path = res.file("Sprites/hero/walk/1.png", "plainly not a picture");
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");  // listing does not look inside the files
    EXPECT_EXIT(render(), ::testing::ExitedWithCode(255),
                anyRoot(boxShowing("加载图片失败" + lowerCase(path)), lowerCase(res.root()), "[a-z0-9]"));
}

TEST_F(SpritePassDeathTest, FrameDeletedAfterListingIsFatalWhenDrawn) {
    const std::string path = frame("hero/walk/1.png", solidPicture(2, 2, {1, 2, 3}));
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    std::filesystem::remove(path);
    EXPECT_EXIT(render(), ::testing::ExitedWithCode(255),
                anyRoot(boxShowing("图片 " + path + " 文件不存在！"), res.root(), "[A-Za-z0-9]"));
}

}  // namespace
