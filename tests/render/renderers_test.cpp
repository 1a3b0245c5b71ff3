// The compositor against the OpenGL reference renderer: the same scenes drawn
// by both, pixel by pixel. Text and opaque pictures must match exactly,
// blended pixels within one step per channel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/frame.h"
#include "support/osmesa.h"
#include "support/temp_resources.h"

namespace {

constexpr int kWidth = 240, kHeight = 160;

// A picture whose pixels run through many colours and, with alpha, through
// every alpha value.
PngPicture rampPicture(int width, int height, bool alpha, int seed) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colorType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            picture.rows.push_back(static_cast<png_byte>(x * 7 + seed));
            picture.rows.push_back(static_cast<png_byte>(y * 11 + seed * 3));
            picture.rows.push_back(static_cast<png_byte>((x ^ y) * 5 + seed));
            if (alpha) picture.rows.push_back(static_cast<png_byte>((x + y * width + seed) % 256));
        }
    return picture;
}

struct Comparison {
    int identical = 0, offByOne = 0, worse = 0;
    int painted = 0;  // pixels not of the background colour
};

class Renderers : public SceneTest {
protected:
    OffscreenContext context{kWidth, kHeight};
    Rgb background{255, 255, 255};

    void TearDown() override {
        setRenderer(Renderer::Compositor);
        setViewPortPosition(0, 0);
        SceneTest::TearDown();
    }

    // The whole window, whatever the game size.
    std::vector<unsigned char> draw(Renderer renderer, int gameWidth, int gameHeight) {
        setRenderer(renderer);
        // A frame of another colour first, so nothing of an earlier frame can
        // pass for this one, and no part of the window is left unpainted.
        glClearColor(0.1f, 0.9f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        renderFrame(gameWidth, gameHeight);
        std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    Comparison compare(int gameWidth = kWidth, int gameHeight = kHeight) {
        const std::vector<unsigned char> composed = draw(Renderer::Compositor, gameWidth, gameHeight);
        const std::vector<unsigned char> reference = draw(Renderer::OpenGL, gameWidth, gameHeight);
        Comparison result;
        for (size_t i = 0; i < composed.size(); i += 4) {
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(composed[i + c] - reference[i + c]));
            (most == 0 ? result.identical : most == 1 ? result.offByOne : result.worse)++;
            if (Rgb{composed[i], composed[i + 1], composed[i + 2]} != background) ++result.painted;
        }
        return result;
    }

    void image(int id, const std::string& name, const PngPicture& picture, int x, int y) {
        ASSERT_TRUE(writePng(res.file("Images/" + name), picture));
        createImage(id, name.c_str());
        setImagePosition(id, x, y);
    }

    void sprite(int id, const std::string& name, const PngPicture& picture, int x, int y, int flipX, int flipY) {
        ASSERT_TRUE(writePng(res.file("Sprites/" + name + "/a/1.png"), picture));
        createSprite(id, name.c_str());
        playSpriteAnimate(id, "a");
        setSpritePosition(id, x, y);
        setSpriteFlipX(id, flipX);
        setSpriteFlipY(id, flipY);
    }

    void text(int id, const char* string, int x, int y, int size, float r, float g, float b) {
        createText(id, string);
        setTextPosition(id, x, y);
        setTextFontSize(id, size);
        setTextColor(id, r, g, b);
    }

    // Images, sprites in every mirroring and texts, all opaque, some across
    // every edge of the window.
    void opaqueScene() {
        image(1, "wide.png", rampPicture(101, 37, false, 1), -20, 30);  // odd width: padded rows
        image(2, "tall.png", rampPicture(33, 90, false, 2), 200, 100);
        image(3, "tiny.png", rampPicture(1, 1, false, 3), 0, 0);
        int id = 10;
        for (int flipX : {0, 1})
            for (int flipY : {0, 1}) {
                sprite(id, "s" + std::to_string(id), rampPicture(13 + id, 9 + id, false, id), 40 * (id - 10) - 7,
                       -4 + 50 * flipY, flipX, flipY * 7);
                ++id;
            }
        text(1, "Score 得分 123", -5, 120, 20, 1.0f, 0.0f, 0.0f);
        text(2, "你好 Vindle!", 100, 150, 33, 0.3f, 0.61f, 0.9f);  // over the top edge
        text(3, "gyp", 220, 5, 16, 255.0f, -3.0f, 0.5f);          // over the right edge, clamped colours
        text(4, "小", 10, 10, 12, 0.0f, 0.0f, 0.0f);
    }
};

void report(const char* scene, const Comparison& c) {
    printf("%s: %d pixels identical, %d within one step, %d further apart (%d painted)\n", scene, c.identical,
           c.offByOne, c.worse, c.painted);
}

}  // namespace

TEST_F(Renderers, OpaqueScenesAreIdentical) {
    opaqueScene();
    Comparison plain = compare();
    report("opaque scene", plain);
    EXPECT_GT(plain.painted, kWidth * kHeight / 6);
    EXPECT_EQ(plain.identical, kWidth * kHeight);
    // The viewport shift, both ways, and a smaller game than the window (as
    // a window the system will not make as narrow as the game): the clear
    // covers the window and pictures and texts run to its edges.
    setViewPortPosition(35, -12);
    Comparison shifted = compare();
    report("opaque scene, shifted", shifted);
    EXPECT_EQ(shifted.identical, kWidth * kHeight);
    setViewPortPosition(-50, 20);
    Comparison smaller = compare(150, 100);
    report("opaque scene, smaller game", smaller);
    EXPECT_EQ(smaller.identical, kWidth * kHeight);
}

TEST_F(Renderers, AnyGameSizeDrawsTheWindowAsTheReferenceDoes) {
    // The window keeps a size it can have while the game size stays stored:
    // sizes of 0 and ones larger than any frame buffer.
    opaqueScene();
    setViewPortPosition(20, 10);
    for (auto size : {std::pair{0, 0}, std::pair{9000, 9000}, std::pair{1, 70000}}) {
        Comparison c = compare(size.first, size.second);
        report(("opaque scene, game " + std::to_string(size.first) + "x" + std::to_string(size.second)).c_str(), c);
        EXPECT_GT(c.painted, kWidth * kHeight / 6);
        EXPECT_EQ(c.identical, kWidth * kHeight) << size.first << "x" << size.second;
    }
}

TEST_F(Renderers, BlendedPixelsAreWithinOneStep) {
    setBgColor(0.25f, 0.5f, 0.75f);
    background = Rgb{64, 128, 191};
    opaqueScene();
    image(20, "glass.png", rampPicture(120, 80, true, 5), 30, 20);
    image(21, "glass2.png", rampPicture(64, 64, true, 9), 180, -20);
    sprite(30, "ghost", rampPicture(70, 50, true, 11), 60, 60, 1, 0);
    sprite(31, "ghost2", rampPicture(70, 50, true, 13), -30, 90, 1, 1);
    // A pile of opaque and see-through pictures over one another, where the
    // compositor leaves out what opaque ones hide.
    for (int i = 0; i < 40; ++i)
        image(100 + i, "pile" + std::to_string(i) + ".png",
              rampPicture(20 + i * 37 % 71, 15 + i * 23 % 53, i % 3 == 0, 20 + i), i * 53 % 260 - 30,
              i * 29 % 180 - 25);
    Comparison c = compare();
    report("blended scene", c);
    EXPECT_GT(c.painted, kWidth * kHeight / 3);
    EXPECT_EQ(c.worse, 0);
    EXPECT_EQ(c.identical + c.offByOne, kWidth * kHeight);
}

TEST_F(Renderers, ObjectsAtTheEndsOfTheNumberRangeDrawNothing) {
    const PngPicture picture = rampPicture(16, 16, true, 1);
    image(1, "a.png", picture, INT_MAX, INT_MAX);
    image(2, "b.png", picture, INT_MIN, INT_MIN);
    image(3, "c.png", picture, INT_MAX - 3, 5);
    sprite(10, "s", picture, INT_MAX, INT_MIN, 1, 1);
    sprite(11, "t", picture, INT_MIN, INT_MAX - 1, 1, 1);
    sprite(12, "u", picture, INT_MAX - 8, 0, 1, 0);
    text(1, "far away", INT_MAX, INT_MAX, 20, 0, 0, 0);
    text(2, "far away", INT_MIN, INT_MIN, 20, 0, 0, 0);
    text(3, "far away", INT_MAX - 2, 0, 20, 0, 0, 0);
    Comparison c = compare();
    report("far objects", c);
    EXPECT_EQ(c.painted, 0);
    EXPECT_EQ(c.identical, kWidth * kHeight);
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 7) ASSERT_EQ(context.at(x, y), (Rgb{255, 255, 255})) << x << "," << y;
}
