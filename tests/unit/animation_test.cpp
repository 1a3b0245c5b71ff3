// Sprite animation: frame lists from action folders, their order, and the
// timer's effect on the frame index.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/tables.h"
#include "scene/animation.h"
#include "scene/records.h"
#include "support/capture.h"
#include "support/fatal.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

struct SpriteState {
    std::string action;
    bool hasFrames = false;
    std::vector<std::string> frames;
    int frameIndex = -1;
};

SpriteState stateOf(int id) {
    SpriteState state;
    lockEngine();
    if (auto* sprite = static_cast<SpriteRecord*>(getHashValue(spriteTable, intKey(id)))) {
        if (sprite->action) state.action = sprite->action;
        state.hasFrames = sprite->frames != nullptr;
        if (sprite->frames)
            for (FrameNode* node = sprite->frames->next; node; node = node->next) state.frames.push_back(node->path);
        state.frameIndex = sprite->frameIndex;
    }
    unlockEngine();
    return state;
}

// The frame index after each of n timer ticks.
std::vector<int> ticks(int id, int n) {
    std::vector<int> seen;
    for (int i = 0; i < n; ++i) {
        advanceAnimations();
        seen.push_back(stateOf(id).frameIndex);
    }
    return seen;
}

std::vector<std::string> baseNames(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& p : paths) names.push_back(p.substr(p.rfind('/') + 1));
    return names;
}

class Animation : public ::testing::Test {
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
    // A sprite folder with one action holding the given frame files.
    void action(const std::string& sprite, const std::string& action, const std::vector<std::string>& files) {
        res.folder("Sprites/" + sprite + "/" + action);
        for (const std::string& f : files) res.file("Sprites/" + sprite + "/" + action + "/" + f);
    }
    TempResources res;
};

using AnimationDeathTest = Animation;

TEST(FrameNames, CompareByTheLeadingNumberOfTheBaseName) {
    auto compare = [](const char* a, const char* b) {
        char* x = const_cast<char*>(a);
        char* y = const_cast<char*>(b);
        return compareFrameNames(&x, &y);
    };
    EXPECT_LT(compare("2.png", "10.png"), 0);
    EXPECT_GT(compare("10.png", "2.png"), 0);
    EXPECT_EQ(compare("01.png", "1.png"), 0);
    EXPECT_EQ(compare("idle.png", "0.png"), 0);
    EXPECT_LT(compare("-1.png", "idle.png"), 0);
    EXPECT_LT(compare(" 7.png", "+8.png"), 0);
    EXPECT_EQ(compare("3.final.png", "3.png"), 0);
    EXPECT_EQ(compare("12abc.png", "12.png"), 0);
    // Numbers beyond the int range saturate instead of wrapping around.
    EXPECT_GT(compare("99999999999.png", "5.png"), 0);
    EXPECT_LT(compare("-99999999999.png", "-5.png"), 0);
    const std::string longName = std::string(5000, '9') + ".png";
    EXPECT_GT(compare(longName.c_str(), "2147483646.png"), 0);
}

TEST(FrameLists, CountAndListing) {
    EXPECT_EQ(countFrames(nullptr), -1);
    TempResources res;
    res.file("a/1.png");
    res.file("a/2.PNG");
    res.file("a/notes.txt");
    res.file("a/3.png.bak");
    res.folder("a/4.png");  // a folder is never a frame
    auto* head = static_cast<FrameNode*>(calloc(1, sizeof(FrameNode)));
    EXPECT_EQ(countFrames(head), 0);
    listFrameFiles(res.path("nowhere").c_str(), head);
    EXPECT_EQ(countFrames(head), 0);
    listFrameFiles(res.path("a").c_str(), head);
    ASSERT_EQ(countFrames(head), 2);
    // A second listing appends after what is there.
    listFrameFiles(res.path("a").c_str(), head);
    ASSERT_EQ(countFrames(head), 4);
    std::vector<std::string> names;
    for (FrameNode* node = head->next; node; node = node->next) names.push_back(node->path);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"1.png", "1.png", "2.PNG", "2.PNG"}));
    freeFrameList(head);
}

TEST_F(Animation, FramesPlayInAscendingNumberOrder) {
    action("hero", "walk",
           {"10.png", "2.png", "1.png", "idle.png", "-1.png", "3.final.png", "020.PNG", "notes.txt", "x.png.bak"});
    res.folder("Sprites/hero/walk/5.png");
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    SpriteState state = stateOf(1);
    EXPECT_EQ(state.action, "walk");
    EXPECT_EQ(state.frameIndex, 0);
    EXPECT_EQ(baseNames(state.frames),
              (std::vector<std::string>{"-1.png", "idle.png", "1.png", "2.png", "3.final.png", "10.png", "020.PNG"}));
    for (const std::string& path : state.frames)
        EXPECT_EQ(path.substr(0, path.rfind('/')), res.path("Sprites/hero/walk"));
}

TEST_F(Animation, ThousandsOfFramesAreSorted) {
    std::vector<int> numbers(3000);
    for (int i = 0; i < 3000; ++i) numbers[i] = i + 1;
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(5));
    std::vector<std::string> files;
    for (int n : numbers) files.push_back(std::to_string(n) + ".png");
    action("crowd", "run", files);
    createSprite(1, "crowd");
    playSpriteAnimate(1, "run");
    std::vector<std::string> names = baseNames(stateOf(1).frames);
    ASSERT_EQ(names.size(), 3000u);
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(names[i], std::to_string(i + 1) + ".png");
}

TEST_F(Animation, LoopingActionWrapsAndNonLoopingStopsOnItsLastFrame) {
    action("hero", "walk", {"1.png", "2.png", "3.png"});
    createSprite(1, "hero");
    createSprite(2, "hero");
    playSpriteAnimate(1, "walk");
    playSpriteAnimate(2, "walk");
    setSpriteRepeatPlay(2, 0);
    std::vector<int> looping, stopping;
    for (int i = 0; i < 5; ++i) {
        advanceAnimations();
        looping.push_back(stateOf(1).frameIndex);
        stopping.push_back(stateOf(2).frameIndex);
    }
    EXPECT_EQ(looping, (std::vector<int>{1, 2, 0, 1, 2}));
    EXPECT_EQ(stopping, (std::vector<int>{1, 2, 2, 2, 2}));
    // Looping again restarts a stopped action at the next tick.
    setSpriteRepeatPlay(2, 1);
    EXPECT_EQ(ticks(2, 2), (std::vector<int>{0, 1}));
}

TEST_F(Animation, SingleFrameNoActionAndEmptyActionStayOnFrameZero) {
    action("solo", "stand", {"1.png"});
    action("hero", "empty", {"readme.txt"});
    createSprite(1, "solo");
    createSprite(2, "solo");
    createSprite(3, "hero");  // never given an action
    createSprite(4, "hero");
    playSpriteAnimate(1, "stand");
    playSpriteAnimate(2, "stand");
    setSpriteRepeatPlay(2, 0);
    playSpriteAnimate(4, "empty");
    EXPECT_TRUE(stateOf(4).hasFrames);
    EXPECT_TRUE(stateOf(4).frames.empty());
    for (int i = 0; i < 4; ++i) {
        advanceAnimations();
        for (int id : {1, 2, 3, 4}) EXPECT_EQ(stateOf(id).frameIndex, 0) << "sprite " << id << " tick " << i;
    }
    EXPECT_FALSE(stateOf(3).hasFrames);
}

TEST_F(Animation, HiddenSpritesKeepAdvancing) {
    action("hero", "walk", {"1.png", "2.png", "3.png", "4.png"});
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    hideSprite(1);
    EXPECT_EQ(ticks(1, 2), (std::vector<int>{1, 2}));
    showSprite(1);
    EXPECT_EQ(ticks(1, 1), (std::vector<int>{3}));
}

TEST_F(Animation, NamingTheCurrentActionAgainChangesNothing) {
    action("hero", "walk", {"1.png", "2.png", "3.png"});
    action("hero", "jump", {"1.png", "2.png"});
    createSprite(1, "hero");
    setSpriteRepeatPlay(1, 0);
    playSpriteAnimate(1, "walk");
    ticks(1, 5);  // stopped on the last frame
    res.file("Sprites/hero/walk/4.png");
    std::string out = captureStdout([] { playSpriteAnimate(1, "walk"); });
    EXPECT_EQ(out, "");
    SpriteState state = stateOf(1);
    EXPECT_EQ(state.frameIndex, 2);  // not restarted
    EXPECT_EQ(state.frames.size(), 3u);  // not listed again
    // Another action restarts at frame 0; coming back lists the folder anew.
    playSpriteAnimate(1, "jump");
    EXPECT_EQ(stateOf(1).frameIndex, 0);
    EXPECT_EQ(stateOf(1).frames.size(), 2u);
    ticks(1, 1);
    playSpriteAnimate(1, "walk");
    state = stateOf(1);
    EXPECT_EQ(state.frameIndex, 0);
    EXPECT_EQ(baseNames(state.frames), (std::vector<std::string>{"1.png", "2.png", "3.png", "4.png"}));
}

TEST_F(Animation, ActionDifferingOnlyInLetterCaseReloads) {
    action("hero", "walk", {"1.png", "2.png", "3.png"});
    createSprite(1, "Hero");
    playSpriteAnimate(1, "walk");
    ticks(1, 2);
    playSpriteAnimate(1, "WALK");
    SpriteState state = stateOf(1);
    EXPECT_EQ(state.action, "WALK");
    EXPECT_EQ(state.frameIndex, 0);
    ASSERT_EQ(state.frames.size(), 3u);
    // The stored path is built from the names the game gave.
    EXPECT_EQ(state.frames[0], res.path("Sprites/Hero/WALK/1.png"));
}

TEST_F(Animation, ActionsAreLookedForInTheFolderFixedAtCreation) {
    action("hero", "walk", {"1.png", "2.png"});
    createSprite(1, "hero");
    TempResources elsewhere;
    elsewhere.folder("Sprites/hero");
    setResourcesDir(elsewhere.root().c_str());
    playSpriteAnimate(1, "walk");
    SpriteState state = stateOf(1);
    ASSERT_EQ(state.frames.size(), 2u);
    EXPECT_EQ(state.frames[0], res.path("Sprites/hero/walk/1.png"));
}

TEST_F(AnimationDeathTest, MissingActionFolderIsFatalWithNameActionAndPath) {
    action("hero", "walk", {"1.png"});
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    EXPECT_EXIT(playSpriteAnimate(1, "fly"), ::testing::ExitedWithCode(255),
                boxShowing("hero精灵中没有名字为fly的动作，因为查找" + res.path("Sprites/hero/fly") + "这个路径不存在"));
    // A path too long for any buffer is refused the same way, shown cut.
    const std::string huge(40000, 'a');
    EXPECT_EXIT(playSpriteAnimate(1, huge.c_str()), ::testing::ExitedWithCode(255),
                "hero精灵中没有名字为aaaa");
}

TEST_F(AnimationDeathTest, MissingActionDropsTheOldListBeforeTheReport) {
    action("hero", "walk", {"1.png"});
    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    // The box comes after the lock is released, so it can read what the
    // fatal path left: the new action and no list.
    EXPECT_EXIT(
        {
            platformSetMessageBoxHook([](const char*, const char*, int, bool) -> int {
                SpriteState state = stateOf(1);
                fprintf(stderr, "action=%s frames=%d index=%d\n", state.action.c_str(), state.hasFrames ? 1 : 0,
                        state.frameIndex);
                return PLATFORM_BOX_IDOK;
            });
            playSpriteAnimate(1, "fly");
        },
        ::testing::ExitedWithCode(255), "action=fly frames=0 index=0\n");
}

}  // namespace
