#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "core/settings.h"
#include "services/input.h"
#include "vindle.h"

namespace {

constexpr int kLeftArrow = 100;
constexpr int kLeftButton = 0, kMiddleButton = 1, kRightButton = 2;
constexpr int kDown = 0, kUp = 1;

// pressed, normal and special key codes as the game polls them.
std::vector<int> codes() { return {getPressedKeyCode(), getPressedNormalKeyCode(), getPressedSpecialKeyCode()}; }

std::vector<int> releasedKeys;
std::vector<std::vector<int>> seenByHandler;
void recordNormalUp(unsigned char key) {
    releasedKeys.push_back(key);
    seenByHandler.push_back(codes());
}
void recordSpecialUp(int key) {
    releasedKeys.push_back(key);
    seenByHandler.push_back(codes());
}

// The words live for the whole process; each test starts with no key held,
// special code 0, the button up and no handlers, set through the callbacks.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        onNormalKeyUp(nullptr);
        onSpecialKeyUp(nullptr);
        onKeyboardUp('x', 0, 0);
        onSpecialUp(0, 0, 0);
        onMouse(kLeftButton, kUp, 0, 0);
        settings.gameHeight.store(600);
        releasedKeys.clear();
        seenByHandler.clear();
    }
    void TearDown() override { SetUp(); }
};

}  // namespace

TEST(InputStart, EveryWordIsZeroBeforeTheFirstEvent) {
    // The threadsafe style re-runs the binary, so the child has seen no event.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(codes() == std::vector<int>{0, 0, 0} && getMousePositionX() == 0 &&
                                  getMousePositionY() == 600 && isMouseLeftButtonDown() == 0
                              ? 0
                              : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST(InputCursor, GameThreadCallsLeaveGlutToTheWindowThread) {
    // No window exists here: a direct GLUT call would end the process.
    EXPECT_EXIT(
        {
            hideMouseCursor();
            showMouseCursor();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Input, KeySequenceProducesTheCodeTableAndHandlersSeeTheOldCodes) {
    onNormalKeyUp(recordNormalUp);
    onSpecialKeyUp(recordSpecialUp);
    onKeyboard('a', 10, 20);
    EXPECT_EQ(codes(), (std::vector<int>{97, 97, 0}));
    onSpecial(kLeftArrow, 10, 20);
    EXPECT_EQ(codes(), (std::vector<int>{100, 97, 100}));
    onSpecialUp(kLeftArrow, 10, 20);
    EXPECT_EQ(codes(), (std::vector<int>{0, 97, 100}));  // special code kept after release
    onKeyboardUp('a', 10, 20);
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 100}));

    EXPECT_EQ(releasedKeys, (std::vector<int>{kLeftArrow, 'a'}));
    EXPECT_EQ(seenByHandler, (std::vector<std::vector<int>>{{100, 97, 100}, {0, 97, 100}}));

    // Switched off, a release changes only the words.
    onNormalKeyUp(nullptr);
    onKeyboard('b', 0, 0);
    onKeyboardUp('b', 0, 0);
    EXPECT_EQ(releasedKeys.size(), 2u);
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 100}));
}

TEST_F(Input, HighCharacterCodesAreNeverNegative) {
    onNormalKeyUp(recordNormalUp);
    onKeyboard(200, 0, 0);
    EXPECT_EQ(codes(), (std::vector<int>{200, 200, 0}));
    onKeyboard(255, 0, 0);
    onKeyboardUp(255, 0, 0);
    EXPECT_EQ(releasedKeys, (std::vector<int>{255}));
    EXPECT_EQ(seenByHandler, (std::vector<std::vector<int>>{{255, 255, 0}}));
}

TEST_F(Input, OnlyTheLeftButtonAndMovesWithoutAButtonCount) {
    onPassiveMotion(30, 50);
    EXPECT_EQ(getMousePositionX(), 30);
    EXPECT_EQ(getMousePositionY(), 550);
    settings.gameHeight.store(480);  // measured against the current height
    EXPECT_EQ(getMousePositionY(), 430);

    onMouse(kLeftButton, kDown, 300, 300);
    EXPECT_EQ(isMouseLeftButtonDown(), 1);
    onMouse(kRightButton, kUp, 5, 5);
    onMouse(kMiddleButton, kUp, 5, 5);
    EXPECT_EQ(isMouseLeftButtonDown(), 1);
    onMouse(kLeftButton, kUp, 310, 310);
    EXPECT_EQ(isMouseLeftButtonDown(), 0);
    onMouse(kRightButton, kDown, 5, 5);
    onMouse(kMiddleButton, kDown, 5, 5);
    EXPECT_EQ(isMouseLeftButtonDown(), 0);
    // Clicks carry a position, but only moves without a button are recorded.
    EXPECT_EQ(getMousePositionX(), 30);
    EXPECT_EQ(getMousePositionY(), 430);

    onPassiveMotion(799, 599);  // bottom row
    EXPECT_EQ(getMousePositionY(), -119);
    settings.gameHeight.store(600);
    EXPECT_EQ(getMousePositionY(), 1);
}

namespace {
// Keys down on the keyboard, as the window system would answer.
std::vector<std::pair<bool, int>> keysDown;
bool isDown(bool special, int code) {
    for (const auto& key : keysDown)
        if (key.first == special && key.second == code) return true;
    return false;
}
}  // namespace

TEST_F(Input, KeysReleasedWhileAnotherWindowHadTheKeyboardReadAsReleasedWithoutAKeyUpCall) {
    constexpr int kRightArrow = 102;
    onNormalKeyUp(recordNormalUp);
    onSpecialKeyUp(recordSpecialUp);
    onKeyboard(13, 0, 0);
    onSpecial(kRightArrow, 0, 0);
    keysDown = {{false, 13}, {true, kRightArrow}};
    releaseKeysNoLongerHeld(isDown);
    EXPECT_EQ(codes(), (std::vector<int>{102, 13, 102}));

    // The Right arrow came up elsewhere: Return is still held.
    keysDown = {{false, 13}};
    releaseKeysNoLongerHeld(isDown);
    // One tick is not enough: the release may still be on its way to GLUT.
    EXPECT_EQ(codes(), (std::vector<int>{102, 13, 102}));
    releaseKeysNoLongerHeld(isDown);
    EXPECT_EQ(codes(), (std::vector<int>{0, 13, 102}));  // the special code stays, as after a release
    keysDown = {};
    releaseKeysNoLongerHeld(isDown);
    releaseKeysNoLongerHeld(isDown);
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 102}));
    // The letter d and the Left arrow share code 100: the kind counts.
    onKeyboard('d', 0, 0);
    keysDown = {{true, kLeftArrow}};
    releaseKeysNoLongerHeld(isDown);
    releaseKeysNoLongerHeld(isDown);
    EXPECT_EQ(codes(), (std::vector<int>{0, 0, 102}));
    EXPECT_TRUE(releasedKeys.empty());
}
