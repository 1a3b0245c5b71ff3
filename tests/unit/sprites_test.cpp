// The sprite functions of the public API: creation, accessors, warnings and
// the fatal faults of creation.
#include <gtest/gtest.h>

#include <string>

#include "engine/tables.h"
#include "scene/records.h"
#include "support/capture.h"
#include "support/fatal.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

// A copy of a sprite's record as it stands between two calls.
SpriteRecord snapshot(int id) {
    lockEngine();
    auto* sprite = static_cast<SpriteRecord*>(getHashValue(spriteTable, intKey(id)));
    SpriteRecord copy = sprite ? *sprite : SpriteRecord{};
    unlockEngine();
    return copy;
}

class Sprites : public ::testing::Test {
protected:
    void SetUp() override {
        initEngineTables();
        clearGameUI();
        reportFatalBoxes();
        setResourcesDir(res.root().c_str());
    }
    void TearDown() override {
        clearGameUI();
        setResourcesDir("");
        platformSetMessageBoxHook(nullptr);
    }
    TempResources res;
};

using SpritesDeathTest = Sprites;

TEST_F(Sprites, NewSpriteStartsVisibleAtOriginWithoutSizeOrAction) {
    res.folder("Sprites/hero");
    std::string out = captureStdout([] { createSprite(7, "hero"); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(isValidSprite(7), 1);
    EXPECT_EQ(getSpriteX(7), 0);
    EXPECT_EQ(getSpriteY(7), 0);
    EXPECT_EQ(getSpriteWidth(7), 0);
    EXPECT_EQ(getSpriteHeight(7), 0);
    EXPECT_EQ(isSpriteVisible(7), 1);
    SpriteRecord record = snapshot(7);
    EXPECT_EQ(record.id, 7);
    EXPECT_STREQ(record.name, "hero");
    EXPECT_EQ(std::string(record.folder), res.path("Sprites/hero"));
    EXPECT_EQ(record.action, nullptr);
    EXPECT_EQ(record.frames, nullptr);
    EXPECT_EQ(record.frameIndex, 0);
    EXPECT_EQ(record.flipX, 0);
    EXPECT_EQ(record.flipY, 0);
    EXPECT_EQ(record.repeatPlay, 1);
}

TEST_F(Sprites, SettersStoreValuesAsGiven) {
    res.folder("Sprites/hero");
    createSprite(7, "hero");
    std::string out = captureStdout([] {
        setSpritePosition(7, -1, 25);
        setSpriteFlipX(7, 5);
        setSpriteFlipY(7, -2);
        setSpriteRepeatPlay(7, 3);
        hideSprite(7);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(getSpriteX(7), -1);
    EXPECT_EQ(getSpriteY(7), 25);
    EXPECT_EQ(isSpriteVisible(7), 0);
    SpriteRecord record = snapshot(7);
    EXPECT_EQ(record.flipX, 5);
    EXPECT_EQ(record.flipY, -2);
    EXPECT_EQ(record.repeatPlay, 3);
    showSprite(7);
    EXPECT_EQ(isSpriteVisible(7), 1);
    setSpriteFlipX(7, 0);
    EXPECT_EQ(snapshot(7).flipX, 0);
}

TEST_F(Sprites, EveryNumberIsItsOwnSprite) {
    res.folder("Sprites/hero");
    // 1, 1000 and -998 share a bucket; 0 and negative numbers are valid.
    for (int id : {1, 1000, 0, -998, -2147483647 - 1}) createSprite(id, "hero");
    setSpritePosition(1, 10, 11);
    setSpritePosition(1000, 20, 21);
    setSpritePosition(-998, 30, 31);
    setSpritePosition(-2147483647 - 1, 40, 41);
    EXPECT_EQ(getSpriteX(1), 10);
    EXPECT_EQ(getSpriteX(1000), 20);
    EXPECT_EQ(getSpriteY(-998), 31);
    EXPECT_EQ(getSpriteY(-2147483647 - 1), 41);
    EXPECT_EQ(getSpriteX(0), 0);
    EXPECT_EQ(isValidSprite(999), 0);
}

TEST_F(Sprites, MissingNumberWarnsAndChangesNothing) {
    res.folder("Sprites/hero");
    createSprite(1, "hero");
    setSpritePosition(1, 3, 4);
    const std::string warning = "不存在编号为2的精灵 \n";
    EXPECT_EQ(captureStdout([] { setSpritePosition(2, 9, 9); }), warning);
    EXPECT_EQ(captureStdout([] { setSpriteFlipX(2, 1); }), warning);
    EXPECT_EQ(captureStdout([] { setSpriteFlipY(2, 1); }), warning);
    EXPECT_EQ(captureStdout([] { hideSprite(2); }), warning);
    EXPECT_EQ(captureStdout([] { showSprite(2); }), warning);
    EXPECT_EQ(captureStdout([] { setSpriteRepeatPlay(2, 0); }), warning);
    EXPECT_EQ(captureStdout([] { playSpriteAnimate(2, "walk"); }), warning);
    int result = 0;
    EXPECT_EQ(captureStdout([&] { result = getSpriteX(2); }), warning);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(captureStdout([&] { result = getSpriteY(2); }), warning);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(captureStdout([&] { result = getSpriteWidth(2); }), warning);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(captureStdout([&] { result = getSpriteHeight(2); }), warning);
    EXPECT_EQ(result, -1);
    // The visibility getter's warning has no trailing blank.
    EXPECT_EQ(captureStdout([&] { result = isSpriteVisible(2); }), "不存在编号为2的精灵\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(captureStdout([&] { result = isValidSprite(2); }), "");
    EXPECT_EQ(result, 0);

    SpriteRecord record = snapshot(1);
    EXPECT_EQ(record.x, 3);
    EXPECT_EQ(record.y, 4);
    EXPECT_EQ(record.visible, 1);
    EXPECT_EQ(record.flipX, 0);
    EXPECT_EQ(record.repeatPlay, 1);
    EXPECT_EQ(record.action, nullptr);
}

TEST_F(Sprites, ClearGameUIFreesTheNumbers) {
    res.folder("Sprites/hero");
    createSprite(4, "hero");
    clearGameUI();
    EXPECT_EQ(isValidSprite(4), 0);
    createSprite(4, "hero");  // no longer a duplicate
    EXPECT_EQ(isValidSprite(4), 1);
}

TEST_F(Sprites, FoldersAreFoundAsWindowsFindsThem) {
    res.folder("Sprites/Hero");
    res.folder("Sprites/group/Knight");
    res.file("Sprites/plain", "not a folder");
    createSprite(1, "HERO");
    createSprite(2, "group\\knight");
    createSprite(3, "plain");  // only existence is tested
    createSprite(4, "group/KNIGHT");
    EXPECT_EQ(isValidSprite(1) + isValidSprite(2) + isValidSprite(3) + isValidSprite(4), 4);
    // The name is kept as the game wrote it.
    EXPECT_STREQ(snapshot(2).name, "group\\knight");
}

TEST_F(SpritesDeathTest, NumberInUseIsFatalEvenWithAMissingFolder) {
    res.folder("Sprites/hero");
    createSprite(3, "hero");
    EXPECT_EXIT(createSprite(3, "nowhere"), ::testing::ExitedWithCode(255), boxShowing("已经存在编号为3的精灵"));
    EXPECT_EXIT(createSprite(3, "hero"), ::testing::ExitedWithCode(255), boxShowing("已经存在编号为3的精灵"));
}

TEST_F(SpritesDeathTest, MissingSpriteFolderIsFatalWithTheFullPath) {
    EXPECT_EXIT(createSprite(1, "ghost"), ::testing::ExitedWithCode(255),
                boxShowing("精灵文件夹【" + res.path("Sprites/ghost") + "】不存在"));
    // A name whose path cannot fit any buffer names no folder either.
    const std::string huge(40000, 'n');
    EXPECT_EXIT(createSprite(1, huge.c_str()), ::testing::ExitedWithCode(255), "精灵文件夹【nnnn");
}

}  // namespace
