#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "core/tables.h"
#include "scene/objects.h"
#include "support/osmesa.h"
#include "support/pngfiles.h"
#include "vindle.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;

class ImagePass : public ::testing::Test {
protected:
    OffscreenContext context{kWidth, kHeight};
    TempDir dir;
    void SetUp() override {
        clearGameUI();
        setViewPortPosition(0, 0);
        setBgColor(1.0f, 1.0f, 1.0f);
        std::filesystem::create_directory(dir.file("Images"));
        setResourcesDir(dir.path().c_str());
    }
    void TearDown() override { setViewPortPosition(0, 0); }
    // Image id showing a one-colour picture at (x, y).
    void place(int id, int x, int y, int width, int height, std::vector<png_byte> pixel) {
        std::string name = "p" + std::to_string(id) + ".png";
        ASSERT_TRUE(writePng(dir.file("Images/" + name), solidPicture(width, height, pixel)));
        createImage(id, name.c_str());
        setImagePosition(id, x, y);
    }
};

const Rgb kWhite{255, 255, 255};

TEST_F(ImagePass, RgbPictureIsCopiedExactlyBottomRowFirst) {
    // Three pixels wide, so rows carry padding bytes.
    ASSERT_TRUE(writePng(dir.file("Images/rgb.png"), patternPicture(3, 2, 3)));
    createImage(1, "rgb.png");
    setImagePosition(1, 10, 20);
    renderFrame(kWidth, kHeight);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(context.at(10 + x, 20 + y),
                      (Rgb{sampleAt(x, 1 - y, 0), sampleAt(x, 1 - y, 1), sampleAt(x, 1 - y, 2)}))
                << x << "," << y;
    EXPECT_EQ(context.at(9, 20), kWhite);
    EXPECT_EQ(context.at(13, 21), kWhite);
    EXPECT_EQ(context.at(10, 22), kWhite);
}

TEST_F(ImagePass, RgbaPictureIsBlendedOverWhatLiesBelow) {
    setBgColor(0.2f, 0.4f, 0.6f);
    place(1, 0, 0, 4, 4, {200, 100, 0, 128});
    place(2, 2, 2, 4, 4, {0, 0, 0, 0});  // fully transparent: image 1 shows through
    renderFrame(kWidth, kHeight);
    const double alpha = 128 / 255.0;
    const double background[] = {0.2 * 255, 0.4 * 255, 0.6 * 255}, picture[] = {200, 100, 0};
    int expected[3];
    for (int c = 0; c < 3; ++c) expected[c] = static_cast<int>(std::lround(picture[c] * alpha + background[c] * (1 - alpha)));
    for (Rgb seen : {context.at(0, 0), context.at(3, 3)}) {
        EXPECT_NEAR(seen.r, expected[0], 1);
        EXPECT_NEAR(seen.g, expected[1], 1);
        EXPECT_NEAR(seen.b, expected[2], 1);
    }
    EXPECT_EQ(context.at(5, 5), (Rgb{51, 102, 153}));
}

TEST_F(ImagePass, LaterVisitedImagesCoverEarlierOnes) {
    // Drawn in visiting order, not creation order: 0, then 999 (same bucket,
    // created later), then 1, then 2; each smaller one on top.
    place(0, 20, 0, 8, 8, {0, 0, 255});
    place(2, 20, 0, 2, 2, {0, 255, 0});
    place(999, 20, 0, 6, 6, {0, 255, 255});
    place(1, 20, 0, 4, 4, {255, 0, 0});
    renderFrame(kWidth, kHeight);
    EXPECT_EQ(context.at(21, 1), (Rgb{0, 255, 0}));
    EXPECT_EQ(context.at(23, 3), (Rgb{255, 0, 0}));
    EXPECT_EQ(context.at(25, 5), (Rgb{0, 255, 255}));
    EXPECT_EQ(context.at(27, 7), (Rgb{0, 0, 255}));
}

TEST_F(ImagePass, PicturesPartlyOutsideAreClippedNotDropped) {
    place(1, -10, -5, 20, 10, {10, 20, 30});
    place(2, kWidth - 3, kHeight - 2, 10, 10, {40, 50, 60});
    renderFrame(kWidth, kHeight);
    EXPECT_EQ(context.at(0, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(context.at(9, 4), (Rgb{10, 20, 30}));
    EXPECT_EQ(context.at(10, 4), kWhite);
    EXPECT_EQ(context.at(9, 5), kWhite);
    EXPECT_EQ(context.at(kWidth - 1, kHeight - 1), (Rgb{40, 50, 60}));
    EXPECT_EQ(context.at(kWidth - 4, kHeight - 1), kWhite);
}

TEST_F(ImagePass, ViewportShiftMovesAndHiddenImagesAreSkipped) {
    place(1, 0, 0, 2, 2, {90, 80, 70});
    place(2, 30, 30, 2, 2, {1, 2, 3});
    hideImage(2);
    setViewPortPosition(5, 7);
    renderFrame(kWidth, kHeight);
    EXPECT_EQ(context.at(5, 7), (Rgb{90, 80, 70}));
    EXPECT_EQ(context.at(6, 8), (Rgb{90, 80, 70}));
    EXPECT_NE(context.at(4, 7), (Rgb{90, 80, 70}));
    EXPECT_NE(context.at(35, 37), (Rgb{1, 2, 3}));
    showImage(2);
    renderFrame(kWidth, kHeight);
    EXPECT_EQ(context.at(35, 37), (Rgb{1, 2, 3}));
}

}  // namespace
