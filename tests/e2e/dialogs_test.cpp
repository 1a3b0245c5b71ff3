// Real message boxes under X: ownership, the window drawing on behind a box,
// the keyboard, boxes from two threads, and the fatal box.
#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <string>
#include <vector>

#include "support/process.h"

namespace {

constexpr int kTimeoutMs = 15000;  // the machine is shared: generous
const std::string kCaption = "提示";
const std::string kNoWindow;

// Presses keys (xdotool's names) once the box has the keyboard.
void answer(const std::string& box, const std::string& keys) {
    ASSERT_TRUE(waitUntil([&] { return focusedWindow() == box; }, kTimeoutMs)) << "the box never took the keyboard";
    shellOutput("xdotool key " + keys);
}

// Whether the window shows a new colour in its corner within the timeout,
// while a thread of the game keeps changing the background.
bool keepsDrawing(const std::string& window) {
    const std::string before = windowPixel(window, 5, 5);
    return !before.empty() && waitUntil(
                                  [&] {
                                      std::string now = windowPixel(window, 5, 5);
                                      return !now.empty() && now != before;
                                  },
                                  kTimeoutMs);
}

bool printed(const GameProcess& game, const std::string& text) {
    return game.output().find(text) != std::string::npos;
}

}  // namespace

TEST(Dialogs, ConfirmBelongsToTheGameWindowWhichGoesOnDrawing) {
    GameProcess game(gameProgram("dialog_confirm"));
    const std::string box = findWindowByName(kCaption, kTimeoutMs);
    ASSERT_NE(box, kNoWindow) << game.output();
    const std::string owner = transientFor(box);
    ASSERT_NE(owner, kNoWindow);

    // The owner shows the scene: another thread keeps changing its background
    // while the game thread waits for the answer.
    EXPECT_TRUE(keepsDrawing(owner));
    EXPECT_EQ(windowsNamed(kCaption), std::vector<std::string>{box});
    EXPECT_FALSE(printed(game, "confirm="));

    answer(box, "Return");
    EXPECT_EQ(game.wait(kTimeoutMs), 1);
    EXPECT_TRUE(printed(game, "confirm=1\n")) << game.output();
}

TEST(Dialogs, ConfirmTakesItsAnswerFromTheKeyboard) {
    struct Case {
        const char* keys;
        const char* result;
    };
    for (const Case& c : {Case{"Escape", "confirm=0\n"}, Case{"Tab Return", "confirm=0\n"}, Case{"n", "confirm=0\n"},
                          Case{"y", "confirm=1\n"}}) {
        SCOPED_TRACE(c.keys);
        GameProcess game(gameProgram("dialog_confirm"));
        const std::string box = findWindowByName(kCaption, kTimeoutMs);
        ASSERT_NE(box, kNoWindow) << game.output();
        answer(box, c.keys);
        EXPECT_EQ(game.wait(kTimeoutMs), 1);
        EXPECT_TRUE(printed(game, c.result)) << game.output();
    }
}

TEST(Dialogs, AlertWaitsForReturn) {
    GameProcess game(gameProgram("dialog_confirm") + " alert");
    const std::string box = findWindowByName(kCaption, kTimeoutMs);
    ASSERT_NE(box, kNoWindow) << game.output();
    EXPECT_NE(transientFor(box), kNoWindow);
    EXPECT_FALSE(printed(game, "alert="));
    answer(box, "Return");
    EXPECT_EQ(game.wait(kTimeoutMs), 1);
    EXPECT_TRUE(printed(game, "alert=1\n")) << game.output();
}

TEST(Dialogs, AlertFromAKeyUpHandlerIsAnsweredAndItsKeyStaysInTheBox) {
    GameProcess game(gameProgram("dialog_confirm") + " keyup");
    ASSERT_TRUE(game.waitForOutput("ready", kTimeoutMs)) << game.output();
    const std::string window = findGameWindow(game.pid(), kTimeoutMs);
    ASSERT_NE(window, kNoWindow);
    shellOutput("xdotool windowfocus --sync " + window + " key a");
    const std::string box = findWindowByName(kCaption, kTimeoutMs);
    ASSERT_NE(box, kNoWindow) << game.output();
    answer(box, "Return");
    ASSERT_TRUE(game.waitForOutput("keyup alert=1\n", kTimeoutMs)) << game.output();
    // The window thread runs again, and the release of Return belonged to the
    // box: the handler saw only the a.
    ASSERT_TRUE(waitUntil([&] { return focusedWindow() == window; }, kTimeoutMs));
    shellOutput("xdotool key b");
    ASSERT_TRUE(game.waitForOutput("key up 98\n", kTimeoutMs)) << game.output();
    EXPECT_EQ(game.output().find("key up 13"), std::string::npos) << game.output();
}

TEST(Dialogs, AlertBeforeTheWindowExistsHasNoOwner) {
    GameProcess game(gameProgram("dialog_confirm") + " early");
    const std::string box = findWindowByName(kCaption, kTimeoutMs);
    ASSERT_NE(box, kNoWindow) << game.output();
    EXPECT_EQ(transientFor(box), kNoWindow);
    answer(box, "Escape");
    EXPECT_EQ(game.wait(kTimeoutMs), 1);
    EXPECT_TRUE(printed(game, "early=1\n")) << game.output();
}

namespace {

// Answers count boxes one at a time with Return, checking that no other box
// is open meanwhile.
void answerBoxesInTurn(const GameProcess& game, int count) {
    for (int answered = 0; answered < count; ++answered) {
        SCOPED_TRACE(answered);
        std::string box;
        ASSERT_TRUE(waitUntil(
            [&] {
                std::vector<std::string> boxes = windowsNamed(kCaption);
                if (!boxes.empty()) box = boxes.front();
                return !boxes.empty();
            },
            kTimeoutMs))
            << game.output();
        ASSERT_TRUE(waitUntil([&] { return focusedWindow() == box; }, kTimeoutMs));
        EXPECT_EQ(windowsNamed(kCaption).size(), 1u);
        shellOutput("xdotool key Return");
        ASSERT_TRUE(waitUntil(
            [&] {
                std::string out = game.output();
                size_t lines = 0;
                for (size_t at = out.find("alert "); at != std::string::npos; at = out.find("alert ", at + 1)) ++lines;
                return lines == static_cast<size_t>(answered + 1);
            },
            kTimeoutMs))
            << game.output();
    }
}

}  // namespace

TEST(Dialogs, BoxesFromTwoThreadsComeOneAfterTheOther) {
    GameProcess game(gameProgram("dialog_confirm") + " two");
    answerBoxesInTurn(game, 2);
    EXPECT_TRUE(printed(game, "alert 1=1\n")) << game.output();
    EXPECT_TRUE(printed(game, "alert 2=1\n")) << game.output();
}

TEST(Dialogs, OneThreadShowsBoxAfterBox) {
    GameProcess game(gameProgram("dialog_confirm") + " series");
    answerBoxesInTurn(game, 3);
    EXPECT_EQ(game.wait(kTimeoutMs), 1);
    EXPECT_TRUE(printed(game, "alert 1=1\nalert 2=1\nalert 3=1\n")) << game.output();
}

namespace {

// Answers a fatal box and waits for the end: the exit status and the
// milliseconds from the answer to the end.
std::pair<int, long> answerFatalBox(GameProcess& game, const std::string& box) {
    answer(box, "Return");
    const auto answered = std::chrono::steady_clock::now();
    const int status = game.wait(kTimeoutMs);
    const auto ending = std::chrono::steady_clock::now() - answered;
    return {status, static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(ending).count())};
}

}  // namespace

TEST(Dialogs, FatalBoxesShowTheMessageLeaveTheWindowDrawingAndEndPromptly) {
    // A number used twice is reported with the engine lock free: the time
    // its game takes to end after the answer is the yardstick.
    GameProcess text(gameProgram("fatal_message"));
    std::string box = findWindowByName("遇到严重错误", kTimeoutMs);
    ASSERT_NE(box, kNoWindow) << text.output();
    EXPECT_TRUE(printed(text, "已经存在编号为7的文本\n")) << text.output();
    const auto [textStatus, textEnding] = answerFatalBox(text, box);
    EXPECT_EQ(textStatus, 255);

    // A missing picture: behind the box the window goes on drawing what the
    // other thread sets, and the end does not wait out the 2 s bound for a
    // window thread stuck on the lock.
    GameProcess picture(gameProgram("fatal_message") + " picture");
    box = findWindowByName("遇到严重错误", kTimeoutMs);
    ASSERT_NE(box, kNoWindow) << picture.output();
    EXPECT_TRUE(printed(picture, "Images/missing.png 文件不存在！\n")) << picture.output();
    const std::string window = findGameWindow(picture.pid(), kTimeoutMs);
    ASSERT_NE(window, kNoWindow);
    EXPECT_TRUE(keepsDrawing(window));
    const auto [pictureStatus, pictureEnding] = answerFatalBox(picture, box);
    EXPECT_EQ(pictureStatus, 255);
    EXPECT_LT(pictureEnding, textEnding + 1000);
}
