// Whether a key is still held, as the window section of the Windows backend
// answers it for the code freeglut reported: keys are pressed and released
// with SendInput, which sets the keyboard state the backend reads.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

void send(const std::vector<WORD>& keys, bool up) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        if (up)
            inputs.insert(inputs.begin(), input);  // released in reverse order
        else
            inputs.push_back(input);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
    Sleep(20);
}

struct Held {
    const char* what;
    std::vector<WORD> keys;
    bool special;
    int code;
};

}  // namespace

TEST(HeldKeys, AKeyIsFoundByTheKeyThatMadeItsCodeNotByAnotherKeyOfTheSameCharacter) {
    const std::vector<Held> cases = {
        {"a", {'A'}, false, 'a'},
        {"numeric pad 1", {VK_NUMPAD1}, false, '1'},
        {"numeric pad 0", {VK_NUMPAD0}, false, '0'},
        {"numeric pad *", {VK_MULTIPLY}, false, '*'},
        {"numeric pad +", {VK_ADD}, false, '+'},
        {"numeric pad -", {VK_SUBTRACT}, false, '-'},
        {"numeric pad .", {VK_DECIMAL}, false, '.'},
        {"numeric pad /", {VK_DIVIDE}, false, '/'},
        {"Delete", {VK_DELETE}, false, 127},
        {"Backspace", {VK_BACK}, false, 8},
        {"Control and [", {VK_CONTROL, VK_OEM_4}, false, 27},
        {"Escape", {VK_ESCAPE}, false, 27},
        {"Shift and 1", {VK_SHIFT, '1'}, false, '!'},
        {"Left", {VK_LEFT}, true, 100},
        {"F5", {VK_F5}, true, 5},
    };
    for (const Held& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(platformKeyHeld(c.special, c.code)) << "held before the press";
        send(c.keys, false);
        EXPECT_TRUE(platformKeyHeld(c.special, c.code));
        // Another code is not held meanwhile.
        EXPECT_FALSE(platformKeyHeld(c.special, c.special ? 101 : '2'));
        send(c.keys, true);
        EXPECT_FALSE(platformKeyHeld(c.special, c.code));
    }
}

TEST(HeldKeys, ACodeNoKeyTypesCountsAsHeldWhileAnyKeyIsDown) {
    // A character from an input method arrives as bytes above 127.
    EXPECT_FALSE(platformKeyHeld(false, 0xD6));
    send({'Q'}, false);
    EXPECT_TRUE(platformKeyHeld(false, 0xD6));
    send({'Q'}, true);
    EXPECT_FALSE(platformKeyHeld(false, 0xD6));
}
