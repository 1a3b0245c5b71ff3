#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "engine/frame.h"
#include "engine/gl.h"
#include "engine/tables.h"
#include "scene/objects.h"
#include "support/osmesa.h"
#include "vindle.h"

namespace {

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        initObjectTables();
        clearGameUI();
        setViewPortPosition(0, 0);
        setBgColor(1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        setViewPortPosition(0, 0);
        setBgColor(1.0f, 1.0f, 1.0f);
    }
    OffscreenContext context{200, 100};
};

// A strip of opaque pixels drawn the way the scene passes draw pictures.
void drawStrip(int x, int y, int width, unsigned char r, unsigned char g, unsigned char b) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width; ++i) pixels.insert(pixels.end(), {r, g, b, 255});
    placeRasterPosition(x, y);
    glDrawPixels(width, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glFinish();
}

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

TEST_F(FrameTest, RasterPositionOutsideTheWindowClipsInsteadOfDropping) {
    renderFrame(200, 100);
    drawStrip(-10, 5, 20, 255, 0, 0);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(context.at(x, 5), (Rgb{255, 0, 0})) << x;
    EXPECT_EQ(context.at(10, 5), (Rgb{255, 255, 255}));
    EXPECT_EQ(context.at(0, 4), (Rgb{255, 255, 255}));
}

TEST_F(FrameTest, ViewportShiftMovesTheSceneRight) {
    setViewPortPosition(50, 0);
    renderFrame(200, 100);
    drawStrip(0, 0, 4, 0, 0, 255);
    EXPECT_EQ(context.at(49, 0), (Rgb{255, 255, 255}));
    for (int x = 50; x < 54; ++x) EXPECT_EQ(context.at(x, 0), (Rgb{0, 0, 255})) << x;
    EXPECT_EQ(context.at(54, 0), (Rgb{255, 255, 255}));
}

TEST_F(FrameTest, ProjectionIsOnePixelPerUnitOfTheGameSize) {
    renderFrame(200, 100);
    drawStrip(199, 99, 1, 0, 255, 0);
    EXPECT_EQ(context.at(199, 99), (Rgb{0, 255, 0}));
    EXPECT_EQ(context.at(198, 99), (Rgb{255, 255, 255}));
}
