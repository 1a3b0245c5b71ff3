// The sprite pass drawn offscreen: mirroring, layering, sizes, concurrent
// action changes and the faults found while drawing.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <string>
#include <thread>

#include "core/tables.h"
#include "scene/sprites.h"
#include "scene/records.h"
#include "support/fatal.h"
#include "support/osmesa.h"
#include "support/pngfiles.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

const Rgb kWhite{255, 255, 255};

class SpritePass : public SceneTest {
protected:
    std::string frame(const std::string& relative, const PngPicture& picture) {
        std::string path = res.file(relative);
        EXPECT_TRUE(writePng(path, picture));
        return path;
    }
    void sprite(int id, const std::string& name, const std::string& action) {
        createSprite(id, name.c_str());
        playSpriteAnimate(id, action.c_str());
    }
    void render() { renderFrame(64, 48); }

    OffscreenContext gl{64, 48};
};

// The child of a death test must make its own OSMesa context: the rendering
// threads of the parent's do not survive a fork.
class SpritePassDeathTest : public SpritePass {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    static void TearDownTestSuite() { GTEST_FLAG_SET(death_test_style, "fast"); }
};

TEST_F(SpritePass, MirroredFramesCoverTheSameRectangle) {
    const int w = 4, h = 3, x = 5, y = 7;
    frame("Sprites/hero/walk/1.png", patternPicture(w, h, 3));
    sprite(1, "hero", "walk");
    setSpritePosition(1, x, y);
    for (auto flip : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}, std::pair{5, -1}}) {
        setSpriteFlipX(1, flip.first);
        setSpriteFlipY(1, flip.second);
        render();
        for (int j = -1; j <= h; ++j)
            for (int i = -1; i <= w; ++i) {
                Rgb expected = kWhite;
                if (i >= 0 && i < w && j >= 0 && j < h) {
                    const int column = flip.first ? w - 1 - i : i;
                    const int rowFromTop = flip.second ? j : h - 1 - j;
                    expected = {sampleAt(column, rowFromTop, 0), sampleAt(column, rowFromTop, 1),
                                sampleAt(column, rowFromTop, 2)};
                }
                ASSERT_EQ(gl.at(x + i, y + j), expected) << flip.first << "," << flip.second << " at " << i << "," << j;
            }
        // Whatever is drawn next must not inherit the mirror.
        GLfloat zoom[2] = {0, 0};
        glGetFloatv(GL_ZOOM_X, &zoom[0]);
        glGetFloatv(GL_ZOOM_Y, &zoom[1]);
        EXPECT_EQ(zoom[0], 1.0f);
        EXPECT_EQ(zoom[1], 1.0f);
    }
}

TEST_F(SpritePass, SpritesCoverImagesAndEachOtherInVisitingOrder) {
    frame("Images/bg.png", solidPicture(8, 8, {0, 200, 0}));
    frame("Sprites/red/s/1.png", solidPicture(3, 3, {200, 0, 0}));
    PngPicture holed = solidPicture(3, 3, {0, 0, 200, 255});
    holed.rows[27] = 0;  // bottom-left pixel fully transparent
    frame("Sprites/blue/s/1.png", holed);
    sprite(1000, "red", "s");  // shares bucket 1 with sprite 1, created first
    sprite(1, "blue", "s");
    createImage(500, "bg.png");
    setSpritePosition(1, 1, 1);
    render();
    EXPECT_EQ(gl.at(0, 0), (Rgb{200, 0, 0}));
    EXPECT_EQ(gl.at(2, 2), (Rgb{0, 0, 200}));
    EXPECT_EQ(gl.at(1, 1), (Rgb{200, 0, 0}));  // through the transparent pixel
    EXPECT_EQ(gl.at(5, 5), (Rgb{0, 200, 0}));
}

TEST_F(SpritePass, SizeIsThatOfTheFrameDrawnLast) {
    frame("Sprites/hero/walk/1.png", solidPicture(4, 3, {10, 20, 30}));
    const std::string second = frame("Sprites/hero/walk/2.png", solidPicture(6, 5, {40, 50, 60}));
    res.file("Sprites/hero/empty/readme.txt");
    createSprite(1, "hero");
    render();  // no action: not drawn
    EXPECT_EQ(getSpriteWidth(1) + getSpriteHeight(1), 0);
    playSpriteAnimate(1, "walk");
    EXPECT_EQ(getSpriteWidth(1), 0);
    render();
    EXPECT_EQ(getSpriteWidth(1), 4);
    EXPECT_EQ(getSpriteHeight(1), 3);
    advanceAnimations();
    render();
    EXPECT_EQ(getSpriteWidth(1), 6);
    EXPECT_EQ(getSpriteHeight(1), 5);
    EXPECT_EQ(gl.at(5, 4), (Rgb{40, 50, 60}));
    // Hidden, it is not loaded (this frame is gone) and keeps its size.
    hideSprite(1);
    advanceAnimations();
    advanceAnimations();
    std::filesystem::remove(second);
    render();
    EXPECT_EQ(gl.at(0, 0), kWhite);
    EXPECT_EQ(getSpriteWidth(1), 6);
    // An action without frames draws nothing.
    showSprite(1);
    playSpriteAnimate(1, "empty");
    render();
    EXPECT_EQ(gl.at(0, 0), kWhite);
    EXPECT_EQ(getSpriteWidth(1), 6);
}

TEST_F(SpritePass, ActionChangesOnAnotherThreadNeverMeetAHalfBuiltList) {
    for (int f = 1; f <= 3; ++f) {
        frame("Sprites/hero/walk/" + std::to_string(f) + ".png", solidPicture(2, 2, {10, 10, 10}));
        frame("Sprites/hero/run/" + std::to_string(f) + ".png", solidPicture(3, 3, {20, 20, 20}));
    }
    sprite(1, "hero", "walk");
    std::atomic<bool> stop{false};
    std::thread game([&] {
        for (int i = 0; !stop.load(); ++i) playSpriteAnimate(1, i % 2 ? "walk" : "run");
    });
    for (int i = 0; i < 200; ++i) {
        advanceAnimations();
        render();
        const int width = getSpriteWidth(1);
        ASSERT_TRUE(width == 2 || width == 3) << width;
    }
    stop.store(true);
    game.join();
}

TEST_F(SpritePassDeathTest, UndecodableOrVanishedFramesAreFatalWhenDrawn) {
    // The child runs in a temporary folder of its own, so the pattern
    // accepts any name for it.
    const std::string tmp = res.root().substr(0, res.root().size() - 6);
    res.file("Sprites/bad/walk/1.png", "plainly not a picture");
    sprite(1, "bad", "walk");  // listing does not look inside the files
    std::string lowered = tmp;
    for (char& c : lowered) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_EXIT(render(), ::testing::ExitedWithCode(kFatalStatus),
                "<box>加载图片失败" + lowered + "[a-z0-9._-]{6}/sprites/bad/walk/1\\.png" + kLockFreeAfterBox);
    clearGameUI();
    res.file("Sprites/huge/walk/1.png", pngHeaderOnly(100000, 100000));
    sprite(1, "huge", "walk");
    EXPECT_EXIT(render(), ::testing::ExitedWithCode(255),
                "<box>图片 " + lowered + "[a-z0-9._-]{6}/sprites/huge/walk/1\\.png 太大：");
    clearGameUI();
    const std::string gone = frame("Sprites/gone/walk/1.png", solidPicture(1, 1, {1, 2, 3}));
    sprite(1, "gone", "walk");
    std::filesystem::remove(gone);  // after the listing
    EXPECT_EXIT(render(), ::testing::ExitedWithCode(kFatalStatus),
                "<box>图片 " + tmp + "[A-Za-z0-9._-]{6}/Sprites/gone/walk/1\\.png 文件不存在！" + kLockFreeAfterBox);
    // Deleted after it was drawn, a frame is missed at the next step, even
    // when the step stays on it (an action of one frame).
    clearGameUI();
    const std::string later = frame("Sprites/later/walk/1.png", solidPicture(1, 1, {1, 2, 3}));
    sprite(1, "later", "walk");
    render();
    std::filesystem::remove(later);
    advanceAnimations();
    EXPECT_EXIT(render(), ::testing::ExitedWithCode(255),
                "<box>图片 " + tmp + "[A-Za-z0-9._-]{6}/Sprites/later/walk/1\\.png 文件不存在！" + kLockFreeAfterBox);
}

}  // namespace
