// Sprites and their animation through the public API and the timer's tick:
// accessors, folder lookup, frame order, the timer's state table and faults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/lock.h"
#include "core/tables.h"
#include "scene/sprites.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "support/capture.h"
#include "support/fatal.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

SpriteRecord record(int id) {
    lockEngine();
    const SpriteRecord* sprite = spriteTable.find(id);
    SpriteRecord copy = sprite ? *sprite : SpriteRecord{};
    unlockEngine();
    return copy;
}

// Frame file names in play order; paths are checked to lie in folder.
std::vector<std::string> frameNames(int id, const std::string& folder) {
    std::vector<std::string> names;
    lockEngine();
    const SpriteRecord* sprite = spriteTable.find(id);
    for (const SpriteFrame& frame : sprite ? sprite->frames : std::vector<SpriteFrame>{}) {
        const std::string& path = frame.path;
        EXPECT_TRUE(samePath(path.substr(0, folder.size() + 1), folder + "/")) << path;
        names.push_back(path.substr(folder.size() + 1));
    }
    unlockEngine();
    return names;
}

// The frame index of each sprite after each of n ticks.
std::vector<std::vector<int>> ticks(std::vector<int> ids, int n) {
    std::vector<std::vector<int>> seen(ids.size());
    for (int t = 0; t < n; ++t) {
        advanceAnimations();
        for (size_t i = 0; i < ids.size(); ++i) seen[i].push_back(record(ids[i]).frameIndex);
    }
    return seen;
}

class Sprites : public SceneTest {
protected:
    void frames(const std::string& actionFolder, int count) {
        res.folder("Sprites/" + actionFolder);
        for (int f = 1; f <= count; ++f) res.file("Sprites/" + actionFolder + "/" + std::to_string(f) + ".png");
    }
};
using SpritesDeathTest = Sprites;

TEST_F(Sprites, AccessorsStoreValuesAsGivenAndWarnAboutMissingNumbers) {
    res.folder("Sprites/hero");
    createSprite(-7, "hero");
    EXPECT_EQ(getSpriteX(-7) + getSpriteY(-7) + getSpriteWidth(-7) + getSpriteHeight(-7), 0);
    EXPECT_EQ(isSpriteVisible(-7), 1);
    EXPECT_EQ(record(-7).repeatPlay, 1);
    std::string out = captureStdout([] {
        setSpritePosition(-7, -1, 25);
        setSpriteFlipX(-7, 5);
        setSpriteFlipY(-7, -2);
        setSpriteRepeatPlay(-7, 3);
        hideSprite(-7);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(getSpriteX(-7), -1);
    EXPECT_EQ(getSpriteY(-7), 25);
    EXPECT_EQ(isSpriteVisible(-7), 0);
    EXPECT_EQ(record(-7).flipX, 5);
    EXPECT_EQ(record(-7).flipY, -2);
    EXPECT_EQ(record(-7).repeatPlay, 3);
    showSprite(-7);
    EXPECT_EQ(isSpriteVisible(-7), 1);

    // Number 993 shares -7's bucket but is no sprite.
    const std::string warning = "不存在编号为993的精灵 \n";
    for (auto call : {+[] { setSpritePosition(993, 1, 1); }, +[] { setSpriteFlipX(993, 1); },
                      +[] { setSpriteFlipY(993, 1); }, +[] { hideSprite(993); }, +[] { showSprite(993); },
                      +[] { setSpriteRepeatPlay(993, 0); }, +[] { playSpriteAnimate(993, "walk"); }})
        EXPECT_EQ(captureStdout(call), warning);
    for (auto getter : {getSpriteX, getSpriteY, getSpriteWidth, getSpriteHeight}) {
        int result = 0;
        EXPECT_EQ(captureStdout([&] { result = getter(993); }), warning);
        EXPECT_EQ(result, -1);
    }
    int result = 0;
    EXPECT_EQ(captureStdout([&] { result = isSpriteVisible(993); }), "不存在编号为993的精灵\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(captureStdout([&] { result = isValidSprite(993); }), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(isValidSprite(-7), 1);
    EXPECT_EQ(getSpriteX(-7), -1);  // untouched by the calls above
}

TEST_F(Sprites, FoldersAreFoundAsWindowsFindsThemAndStayWhereTheSpriteWasCreated) {
    frames("Hero/Walk", 2);
    res.folder("Sprites/group/Knight");
    createSprite(1, "HERO");
    createSprite(2, "group\\knight");
    EXPECT_EQ(isValidSprite(2), 1);
    TempResources elsewhere;
    elsewhere.folder("Sprites/Hero/Walk");
    setResourcesDir(elsewhere.root().c_str());
    playSpriteAnimate(1, "walk");
    // The frames name the folder as the disk does, so drawing them never
    // searches a directory for a name in another letter case.
    EXPECT_EQ(frameNames(1, res.path("Sprites/Hero/Walk")), (std::vector<std::string>{"1.png", "2.png"}));
}

TEST_F(Sprites, FramesPlayInOrderOfTheNumberBeginningTheirNames) {
    for (const char* name : {"10.png", "2.png", "1.png", "idle.png", "-1.png", "3.final.png", "020.PNG",
                             "4294967297.png", "notes.txt", "4.png.bak"})
        res.file(std::string("Sprites/hero/walk/") + name);
    res.folder("Sprites/hero/walk/5.png");  // a folder is no frame, nor is a pipe
    makePipe(res.path("Sprites/hero/walk/6.png"));
    res.file("Sprites/hero/walk/a\\7.png");  // a name Windows cannot hold
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    EXPECT_EQ(frameNames(1, res.path("Sprites/hero/walk")),
              (std::vector<std::string>{"-1.png", "idle.png", "1.png", "2.png", "3.final.png", "10.png", "020.PNG",
                                        "4294967297.png"}));
}

TEST_F(Sprites, FramesWithTheSameNumberPlayInOrderOfTheirNames) {
    // All count as 1; made in reverse, so the system's listing order is not
    // the names' order.
    for (const char* name : {"1b.png", "1a.png", "1.png", "01.png", "001.png", "+1.png", " 1.png"})
        res.file(std::string("Sprites/hero/walk/") + name);
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    EXPECT_EQ(frameNames(1, res.path("Sprites/hero/walk")),
              (std::vector<std::string>{" 1.png", "+1.png", "001.png", "01.png", "1.png", "1a.png", "1b.png"}));
}

TEST_F(Sprites, TimerAdvancesEverySpriteAsItsStateSays) {
    frames("hero/walk", 3);
    frames("hero/still", 1);
    res.file("Sprites/hero/empty/readme.txt");
    for (int id = 1; id <= 6; ++id) createSprite(id, "hero");
    playSpriteAnimate(1, "walk");  // looping
    playSpriteAnimate(2, "walk");
    setSpriteRepeatPlay(2, 0);  // stops on the last frame
    playSpriteAnimate(3, "still");
    setSpriteRepeatPlay(3, 0);
    playSpriteAnimate(4, "empty");  // sprite 5 has no action at all
    playSpriteAnimate(6, "walk");
    hideSprite(6);  // hidden sprites go on too
    EXPECT_EQ(ticks({1, 2, 3, 4, 5, 6}, 4), (std::vector<std::vector<int>>{
                                                {1, 2, 0, 1}, {1, 2, 2, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
                                                {1, 2, 0, 1}}));
    setSpriteRepeatPlay(2, 1);
    EXPECT_EQ(ticks({2}, 2), (std::vector<std::vector<int>>{{0, 1}}));
}

TEST_F(Sprites, OnlyAnotherActionNameRestartsAndRelistsTheFrames) {
    frames("hero/walk", 3);
    frames("hero/jump", 2);
    createSprite(1, "hero");
    setSpriteRepeatPlay(1, 0);
    playSpriteAnimate(1, "walk");
    ticks({1}, 5);
    res.file("Sprites/hero/walk/4.png");
    playSpriteAnimate(1, "walk");  // stopped, and stays so
    EXPECT_EQ(record(1).frameIndex, 2);
    EXPECT_EQ(frameNames(1, res.path("Sprites/hero/walk")).size(), 3u);
    playSpriteAnimate(1, "WALK");  // another name, though the same folder
    EXPECT_EQ(record(1).frameIndex, 0);
    EXPECT_EQ(frameNames(1, res.path("Sprites/hero/walk")).size(), 4u);
    ticks({1}, 1);
    playSpriteAnimate(1, "jump");
    EXPECT_EQ(record(1).frameIndex, 0);
    EXPECT_EQ(record(1).action, "jump");
}

TEST_F(SpritesDeathTest, NumberInUseAndMissingFoldersAreFatal) {
    frames("hero/walk", 1);
    createSprite(3, "hero");
    EXPECT_EXIT(createSprite(3, "nowhere"), ::testing::ExitedWithCode(kFatalStatus), boxShowing("已经存在编号为3的精灵"));
    EXPECT_EXIT(createSprite(4, "ghost"), ::testing::ExitedWithCode(kFatalStatus),
                boxShowing("精灵文件夹【" + res.path("Sprites/ghost") + "】不存在"));
    EXPECT_EXIT(playSpriteAnimate(3, "fly"), ::testing::ExitedWithCode(kFatalStatus),
                boxShowing("hero精灵中没有名字为fly的动作，因为查找" + res.path("Sprites/hero/fly") + "这个路径不存在"));
    // Paths too long for any buffer are refused, not overrun.
    const std::string huge(40000, 'n');
    EXPECT_EXIT(createSprite(4, huge.c_str()), ::testing::ExitedWithCode(kFatalStatus),
                "<box>" + literally("精灵文件夹【" + res.path("Sprites/")) + "nnnn");
    EXPECT_EXIT(playSpriteAnimate(3, huge.c_str()), ::testing::ExitedWithCode(kFatalStatus), "<box>hero精灵中没有名字为nnnn");
}

}  // namespace
