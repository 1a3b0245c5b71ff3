// The quiet idle: the frame is drawn again only after a change that shows.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "core/settings.h"
#include "scene/sprites.h"
#include "support/temp_resources.h"

namespace {

class Redraw : public SceneTest {
protected:
    // Whether running the step counted a change that shows.
    template <typename Step>
    bool shows(Step step) {
        const uint64_t before = sceneVersion();
        step();
        return sceneVersion() != before;
    }
};

}  // namespace

TEST_F(Redraw, OnlyChangesThatShowAskForAFrame) {
    createText(1, "score 1");
    EXPECT_FALSE(shows([] { setText(1, "score 1"); }));
    EXPECT_TRUE(shows([] { setText(1, "score 2"); }));
    EXPECT_FALSE(shows([] { setTextPosition(1, 0, 0); }));
    EXPECT_TRUE(shows([] { setTextPosition(1, 0, 5); }));
    EXPECT_TRUE(shows([] { setTextColor(1, 1, 0, 0); }));
    EXPECT_FALSE(shows([] { setTextColor(1, 1, 0, 0); }));
    EXPECT_TRUE(shows([] { setTextFontSize(1, 30); }));
    EXPECT_FALSE(shows([] { setTextFontSize(1, 30); }));
    EXPECT_TRUE(shows([] { hideText(1); }));
    EXPECT_FALSE(shows([] { hideText(1); }));
    EXPECT_FALSE(shows([] { getTextX(1); }));
    EXPECT_FALSE(shows([] { setTextPosition(99, 1, 1); }));  // no such text

    EXPECT_TRUE(shows([] { setBgColor(0, 0, 0); }));
    EXPECT_FALSE(shows([] { setBgColor(0, 0, 0); }));
    EXPECT_TRUE(shows([] { setViewPortPosition(3, 0); }));
    EXPECT_FALSE(shows([] { setViewPortPosition(3, 0); }));
    setViewPortPosition(0, 0);
    EXPECT_TRUE(shows([] { clearGameUI(); }));
}

TEST_F(Redraw, ANotANumberColourStoredAgainIsNoChange) {
    createText(1, "hi");
    EXPECT_TRUE(shows([] { setTextColor(1, NAN, 0, 0); }));
    EXPECT_FALSE(shows([] { setTextColor(1, NAN, 0, 0); }));
    EXPECT_TRUE(shows([] { setBgColor(0, NAN, 0); }));
    EXPECT_FALSE(shows([] { setBgColor(0, NAN, 0); }));
    EXPECT_TRUE(shows([] { setBgColor(0, 0, 0); }));
}

// The window thread reads the count, then what the frame shows. Whatever a
// game thread wrote before a counted change must be there for it: a frame
// drawn from older values would be marked drawn and never redrawn. Without
// release and acquire order, ThreadSanitizer reports the plain word as raced.
TEST_F(Redraw, AThreadThatSeesTheCountMoveSeesWhatWasWrittenBeforeIt) {
    static int writtenBefore = 0;
    writtenBefore = 0;
    setBgColor(1, 1, 1);
    const uint64_t before = sceneVersion();
    std::thread game([] {
        writtenBefore = 42;
        setBgColor(0.25f, 0.5f, 0.75f);
    });
    while (sceneVersion() == before) std::this_thread::yield();
    const FrameSettings seen = frameSettings();
    EXPECT_EQ(writtenBefore, 42);
    EXPECT_EQ(seen.red, 0.25f);
    EXPECT_EQ(seen.blue, 0.75f);
    game.join();
}

TEST_F(Redraw, AnimationStepsShowOnlyForShownSpritesThatMove) {
    for (const char* frame : {"Sprites/hero/walk/1.png", "Sprites/hero/walk/2.png", "Sprites/hero/still/1.png"})
        ASSERT_TRUE(writePng(res.file(frame), solidPicture(2, 2, {1, 2, 3})));
    createSprite(1, "hero");
    EXPECT_FALSE(shows(advanceAnimations));  // no action yet
    EXPECT_TRUE(shows([] { playSpriteAnimate(1, "walk"); }));
    EXPECT_FALSE(shows([] { playSpriteAnimate(1, "walk"); }));
    EXPECT_TRUE(shows(advanceAnimations));
    EXPECT_TRUE(shows([] { setSpriteFlipX(1, 1); }));
    EXPECT_FALSE(shows([] { setSpriteFlipX(1, 1); }));
    hideSprite(1);
    EXPECT_FALSE(shows(advanceAnimations));  // steps, unseen
    showSprite(1);
    playSpriteAnimate(1, "still");
    EXPECT_FALSE(shows(advanceAnimations));  // one frame: nothing moves
}
