// The three passes together: whatever their numbers, texts lie above sprites
// and sprites above images.
#include <gtest/gtest.h>

#include <string>

#include "core/tables.h"
#include "support/osmesa.h"
#include "support/pngfiles.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

class Layers : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        ASSERT_TRUE(writePng(res.file("Images/red.png"), solidPicture(60, 60, {255, 0, 0})));
        ASSERT_TRUE(writePng(res.file("Sprites/box/still/1.png"), solidPicture(40, 40, {0, 255, 0})));
    }
    OffscreenContext context{100, 100};
};

}  // namespace

TEST_F(Layers, TextsCoverSpritesWhichCoverImagesWhateverTheirNumbers) {
    // The text gets the lowest number and is created first, the image last.
    createText(-5, "HHHH");
    setTextColor(-5, 0.0f, 0.0f, 1.0f);
    setTextFontSize(-5, 30);
    setTextPosition(-5, 5, 15);
    createSprite(500, "box");
    playSpriteAnimate(500, "still");
    setSpritePosition(500, 10, 10);
    createImage(998, "red.png");

    renderFrame(100, 100);
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    EXPECT_EQ(context.at(55, 55), red);  // image alone
    EXPECT_EQ(context.at(5, 5), red);
    EXPECT_EQ(context.at(48, 48), green);  // sprite over the image
    int textOverSprite = 0, other = 0;
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 50; ++x) {
            Rgb pixel = context.at(x, y);
            if (pixel == blue) ++textOverSprite;
            else if (pixel != green) ++other;
        }
    EXPECT_GT(textOverSprite, 50);  // the glyphs' ink lies on top
    EXPECT_EQ(other, 0);            // and nothing of the image shows through the sprite
}
