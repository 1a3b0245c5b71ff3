#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/osmesa.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

class FrameTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        setViewPortPosition(0, 0);
    }
    void TearDown() override {
        setViewPortPosition(0, 0);
        SceneTest::TearDown();
    }
    // A one-row strip of opaque pixels as image id at (x, y).
    void strip(int id, int x, int y, int width, std::vector<png_byte> colour) {
        const std::string name = "strip" + std::to_string(id) + ".png";
        ASSERT_TRUE(writePng(res.file("Images/" + name), solidPicture(width, 1, colour)));
        createImage(id, name.c_str());
        setImagePosition(id, x, y);
    }
    OffscreenContext context{200, 100};
};

}  // namespace

TEST_F(FrameTest, AnEmptySceneIsOnlyTheBackgroundColour) {
    setBgColor(0.2f, 0.4f, 1.0f);
    renderFrame(200, 100);
    const Rgb expected{51, 102, 255};
    for (int y = 0; y < 100; y += 3)
        for (int x = 0; x < 200; x += 3) ASSERT_EQ(context.at(x, y), expected) << x << "," << y;
}

TEST_F(FrameTest, ClearColoursOutsideTheRangeAreClampedByOpenGLOnly) {
    setBgColor(255.0f, -3.0f, 0.5f);
    renderFrame(200, 100);
    Rgb pixel = context.at(10, 10);
    EXPECT_EQ(pixel.r, 255);
    EXPECT_EQ(pixel.g, 0);
    EXPECT_NEAR(pixel.b, 128, 1);
}

TEST_F(FrameTest, PicturesOutsideTheWindowAreClippedInsteadOfDropped) {
    strip(1, -10, 5, 20, {255, 0, 0});
    strip(2, 195, 99, 10, {0, 255, 0});
    strip(3, 20, -1, 5, {0, 0, 255});
    renderFrame(200, 100);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(context.at(x, 5), (Rgb{255, 0, 0})) << x;
    EXPECT_EQ(context.at(10, 5), (Rgb{255, 255, 255}));
    EXPECT_EQ(context.at(0, 4), (Rgb{255, 255, 255}));
    for (int x = 195; x < 200; ++x) EXPECT_EQ(context.at(x, 99), (Rgb{0, 255, 0})) << x;
    EXPECT_EQ(context.at(194, 99), (Rgb{255, 255, 255}));
    EXPECT_EQ(context.at(20, 0), (Rgb{255, 255, 255}));
}

TEST_F(FrameTest, ViewportShiftMovesTheSceneButTheWindowClips) {
    setViewPortPosition(50, 0);
    strip(1, 0, 0, 4, {0, 0, 255});
    strip(2, -60, 1, 20, {255, 0, 0});  // window columns -10..9
    strip(3, 140, 2, 20, {0, 255, 0});  // window columns 190..209
    renderFrame(200, 100);
    EXPECT_EQ(context.at(49, 0), (Rgb{255, 255, 255}));
    for (int x = 50; x < 54; ++x) EXPECT_EQ(context.at(x, 0), (Rgb{0, 0, 255})) << x;
    EXPECT_EQ(context.at(54, 0), (Rgb{255, 255, 255}));
    // The viewport does not clip: only the window's edges do.
    for (int x = 0; x < 10; ++x) EXPECT_EQ(context.at(x, 1), (Rgb{255, 0, 0})) << x;
    EXPECT_EQ(context.at(10, 1), (Rgb{255, 255, 255}));
    for (int x = 190; x < 200; ++x) EXPECT_EQ(context.at(x, 2), (Rgb{0, 255, 0})) << x;
}

TEST_F(FrameTest, ProjectionIsOnePixelPerUnitOfTheGameSize) {
    strip(1, 199, 99, 1, {0, 255, 0});
    renderFrame(200, 100);
    EXPECT_EQ(context.at(199, 99), (Rgb{0, 255, 0}));
    EXPECT_EQ(context.at(198, 99), (Rgb{255, 255, 255}));
}

TEST_F(FrameTest, AWindowLargerThanTheGameIsFilledAndTheSceneRunsToItsEdges) {
    // A system that will not make a window as small as the game (a captioned
    // window on Windows is at least about 120 pixels wide) gives a larger one.
    setBgColor(0.0f, 0.0f, 1.0f);
    strip(1, 80, 10, 60, {255, 0, 0});  // columns 80..139, the game is 100 wide
    strip(2, 5, 70, 3, {0, 255, 0});     // above the game's 60 rows
    createText(1, "WWWWWW");
    setTextPosition(1, 90, 30);
    setTextColor(1, 1.0f, 1.0f, 1.0f);
    renderFrame(100, 60);  // in the 200 by 100 window
    const Rgb background{0, 0, 255}, white{255, 255, 255};
    for (int x = 80; x < 140; ++x) EXPECT_EQ(context.at(x, 10), (Rgb{255, 0, 0})) << x;
    for (int x = 5; x < 8; ++x) EXPECT_EQ(context.at(x, 70), (Rgb{0, 255, 0})) << x;
    int inkBeyondTheGame = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const Rgb pixel = context.at(x, y);
            if ((y == 10 && x >= 80 && x < 140) || (y == 70 && x >= 5 && x < 8)) continue;
            ASSERT_TRUE(pixel == background || pixel == white) << x << "," << y;
            // Glyphs that begin beyond the game's width too.
            if (pixel == white && x >= 130) ++inkBeyondTheGame;
        }
    EXPECT_GT(inkBeyondTheGame, 20);
}
