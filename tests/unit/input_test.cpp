#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/settings.h"
#include "services/input.h"
#include "vindle.h"

namespace {

constexpr int kLeft = 100, kRight = 102;
constexpr int kLeftButton = 0, kMiddleButton = 1, kRightButton = 2;
constexpr int kDown = 0, kUp = 1;

struct Codes {
    int pressed, normal, special;
    bool operator==(const Codes& o) const { return pressed == o.pressed && normal == o.normal && special == o.special; }
};
std::ostream& operator<<(std::ostream& out, const Codes& c) {
    return out << "{pressed " << c.pressed << ", normal " << c.normal << ", special " << c.special << "}";
}
Codes codes() { return {getPressedKeyCode(), getPressedNormalKeyCode(), getPressedSpecialKeyCode()}; }

std::vector<int> normalUps, specialUps;
std::vector<Codes> seenByHandler;
void recordNormalUp(unsigned char key) {
    normalUps.push_back(key);
    seenByHandler.push_back(codes());
}
void recordSpecialUp(int key) {
    specialUps.push_back(key);
    seenByHandler.push_back(codes());
}
void otherNormalUp(unsigned char) { normalUps.push_back(-1); }

// The words live for the whole process; each test starts from no key held,
// the button up, no handlers and special code 0 by way of the callbacks.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        onNormalKeyUp(nullptr);
        onSpecialKeyUp(nullptr);
        onKeyboardUp('x', 0, 0);
        onSpecialUp(0, 0, 0);
        onMouse(kLeftButton, kUp, 0, 0);
        onPassiveMotion(0, 0);
        settings.gameHeight.store(600);
        normalUps.clear();
        specialUps.clear();
        seenByHandler.clear();
    }
    void TearDown() override {
        onNormalKeyUp(nullptr);
        onSpecialKeyUp(nullptr);
        settings.gameHeight.store(600);
    }
};

}  // namespace

TEST(InputStart, EveryWordIsZeroBeforeTheFirstEvent) {
    // A fresh process (the death test re-runs the binary) has seen no event yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            bool fresh = getPressedKeyCode() == 0 && getPressedNormalKeyCode() == 0 &&
                         getPressedSpecialKeyCode() == 0 && getMousePositionX() == 0 &&
                         getMousePositionY() == 600 && isMouseLeftButtonDown() == 0;
            std::exit(fresh ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Input, KeySequenceProducesTheCodeTable) {
    onKeyboard('a', 10, 20);
    EXPECT_EQ(codes(), (Codes{97, 97, 0}));
    onSpecial(kLeft, 10, 20);
    EXPECT_EQ(codes(), (Codes{100, 97, 100}));
    onSpecialUp(kLeft, 10, 20);
    EXPECT_EQ(codes(), (Codes{0, 97, 100}));  // special code kept after release
    onKeyboardUp('a', 10, 20);
    EXPECT_EQ(codes(), (Codes{0, 0, 100}));
    onSpecial(kRight, 0, 0);
    EXPECT_EQ(codes(), (Codes{102, 0, 102}));
}

TEST_F(Input, ReleaseOfAnotherKeyClearsTheHeldOne) {
    onKeyboard('a', 0, 0);
    onKeyboard('b', 0, 0);
    onKeyboardUp('b', 0, 0);
    EXPECT_EQ(codes(), (Codes{0, 0, 0}));
    onKeyboard('a', 0, 0);  // a key repeat brings it back
    EXPECT_EQ(codes(), (Codes{97, 97, 0}));
}

TEST_F(Input, HighCharacterCodesAreNeverNegative) {
    onKeyboard(200, 0, 0);
    EXPECT_EQ(getPressedKeyCode(), 200);
    EXPECT_EQ(getPressedNormalKeyCode(), 200);
    onKeyboard(255, 0, 0);
    EXPECT_EQ(getPressedNormalKeyCode(), 255);
    onNormalKeyUp(recordNormalUp);
    onKeyboardUp(255, 0, 0);
    EXPECT_EQ(normalUps, (std::vector<int>{255}));
}

TEST_F(Input, HandlersRunBeforeTheWordsChange) {
    onNormalKeyUp(recordNormalUp);
    onSpecialKeyUp(recordSpecialUp);
    onKeyboard('a', 0, 0);
    onSpecial(kLeft, 0, 0);
    onSpecialUp(kLeft, 0, 0);
    onKeyboardUp('a', 0, 0);
    EXPECT_EQ(specialUps, (std::vector<int>{kLeft}));
    EXPECT_EQ(normalUps, (std::vector<int>{'a'}));
    ASSERT_EQ(seenByHandler.size(), 2u);
    EXPECT_EQ(seenByHandler[0], (Codes{100, 97, 100}));
    EXPECT_EQ(seenByHandler[1], (Codes{0, 97, 100}));
    EXPECT_EQ(codes(), (Codes{0, 0, 100}));
}

TEST_F(Input, HandlersAreReplacedAndSwitchedOff) {
    onNormalKeyUp(recordNormalUp);
    onNormalKeyUp(otherNormalUp);
    onKeyboardUp('q', 0, 0);
    EXPECT_EQ(normalUps, (std::vector<int>{-1}));
    onNormalKeyUp(nullptr);
    onKeyboardUp('q', 0, 0);
    onSpecialUp(kLeft, 0, 0);  // no handler: only the words change
    EXPECT_EQ(normalUps, (std::vector<int>{-1}));
    EXPECT_EQ(codes(), (Codes{0, 0, kLeft}));
}

TEST_F(Input, OnlyTheLeftButtonCounts) {
    onMouse(kLeftButton, kDown, 5, 5);
    EXPECT_EQ(isMouseLeftButtonDown(), 1);
    onMouse(kRightButton, kUp, 5, 5);
    onMouse(kMiddleButton, kUp, 5, 5);
    EXPECT_EQ(isMouseLeftButtonDown(), 1);
    onMouse(kLeftButton, kUp, 5, 5);
    EXPECT_EQ(isMouseLeftButtonDown(), 0);
    onMouse(kRightButton, kDown, 5, 5);
    onMouse(kMiddleButton, kDown, 5, 5);
    onMouse(3, kDown, 5, 5);  // wheel
    EXPECT_EQ(isMouseLeftButtonDown(), 0);
}

TEST_F(Input, PointerYCountsUpFromTheCurrentGameHeight) {
    onPassiveMotion(120, 0);
    EXPECT_EQ(getMousePositionX(), 120);
    EXPECT_EQ(getMousePositionY(), 600);
    onPassiveMotion(799, 599);
    EXPECT_EQ(getMousePositionX(), 799);
    EXPECT_EQ(getMousePositionY(), 1);
    onPassiveMotion(30, 50);
    settings.gameHeight.store(480);
    EXPECT_EQ(getMousePositionY(), 430);
    // Clicks carry a position, but only moves without a button are recorded.
    onMouse(kLeftButton, kDown, 300, 300);
    onMouse(kLeftButton, kUp, 310, 310);
    EXPECT_EQ(getMousePositionX(), 30);
    EXPECT_EQ(getMousePositionY(), 430);
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
