// Real key presses and pointer moves, injected with xdotool into a game that
// prints what it polls and what its key-up handlers see.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/process.h"

// Last: Xlib's macros (None, Bool, ...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace {

constexpr int kTimeoutMs = 20000;

bool xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()) == 0; }

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Reads the game's output in order: each expectation must appear after the
// previous one.
class OutputCursor {
public:
    explicit OutputCursor(const GameProcess& game) : game_(game) {}
    // Waits for text after the cursor and moves the cursor past it.
    bool next(const std::string& text) {
        std::string out;
        size_t found = std::string::npos;
        bool seen = waitUntil(
            [&] {
                out = game_.output();
                found = out.find(text, position_);
                return found != std::string::npos;
            },
            kTimeoutMs);
        if (!seen) return false;
        size_t start = out.rfind('\n', found);
        start = start == std::string::npos ? 0 : start + 1;
        line_ = out.substr(start, out.find('\n', found) - start);
        position_ = found + text.size();
        return true;
    }
    // The whole line in which the last expectation was found.
    const std::string& line() const { return line_; }

private:
    const GameProcess& game_;
    size_t position_ = 0;
    std::string line_;
};

// Pixels that are not fully transparent in the cursor the pointer shows now.
int visibleCursorPixels() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return -1;
    int visible = -1;
    if (XFixesCursorImage* image = XFixesGetCursorImage(display)) {
        visible = 0;
        for (int i = 0; i < image->width * image->height; ++i)
            if ((image->pixels[i] >> 24) & 0xff) ++visible;
        XFree(image);
    }
    XCloseDisplay(display);
    return visible;
}

class InputGame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";
        ASSERT_TRUE(cursor.next("ready")) << game.output();
        window = findGameWindow(game.pid(), kTimeoutMs);
        ASSERT_FALSE(window.empty()) << "no game window";
        ASSERT_TRUE(xdotool("windowfocus --sync " + window));
    }

    GameProcess game{gameProgram("input_echo")};
    OutputCursor cursor{game};
    std::string window;
};

}  // namespace

TEST_F(InputGame, KeysReachThePollsAndTheKeyUpHandlers) {
    ASSERT_TRUE(cursor.next("state pressed=0 normal=0 special=0")) << game.output();

    ASSERT_TRUE(xdotool("keydown a"));
    ASSERT_TRUE(cursor.next("state pressed=97 normal=97 special=0 ")) << game.output();
    ASSERT_TRUE(xdotool("keyup a"));
    // The handler sees the codes from before the release, the polls 0 after it.
    ASSERT_TRUE(cursor.next("normal-up 97 pressed=97 normal=97\n")) << game.output();
    ASSERT_TRUE(cursor.next("state pressed=0 normal=0 special=0 ")) << game.output();

    ASSERT_TRUE(xdotool("keydown Left"));
    ASSERT_TRUE(cursor.next("state pressed=100 normal=0 special=100 ")) << game.output();
    ASSERT_TRUE(xdotool("keyup Left"));
    ASSERT_TRUE(cursor.next("special-up 100 pressed=100 special=100\n")) << game.output();
    ASSERT_TRUE(cursor.next("state pressed=0 normal=0 special=100 ")) << game.output();

    // Escape ends the game from its handler; gameMain returning exits with 1.
    ASSERT_TRUE(xdotool("key Escape"));
    ASSERT_TRUE(cursor.next("normal-up 27 pressed=27 normal=27\n")) << game.output();
    EXPECT_EQ(game.wait(kTimeoutMs), 1) << game.output();
}

TEST_F(InputGame, AHeldKeyStaysPressedAndCallsItsKeyUpHandlerOnce) {
    FastKeyRepeat repeat;
    ASSERT_TRUE(repeat.ok()) << "key repeat cannot be switched on";
    struct Case {
        const char* key;
        const char* held;
        const char* released;
    };
    for (const Case& c : {Case{"a", "state pressed=97 ", "normal-up 97 "},
                          Case{"Left", "state pressed=100 ", "special-up 100 "}}) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(xdotool(std::string("keydown ") + c.key));
        ASSERT_TRUE(cursor.next(c.held)) << game.output();
        const size_t heldFrom = game.output().size();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        ASSERT_TRUE(xdotool(std::string("keyup ") + c.key));
        ASSERT_TRUE(cursor.next(c.released)) << game.output();
        ASSERT_TRUE(cursor.next("state pressed=0 ")) << game.output();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const std::string whileHeld = game.output().substr(heldFrom);
        EXPECT_EQ(count(whileHeld, c.released), 1u) << whileHeld;
        // The polls never read 0 before the one real release.
        EXPECT_EQ(whileHeld.substr(0, whileHeld.find(c.released)).find("pressed=0 "), std::string::npos) << whileHeld;
    }
    ASSERT_TRUE(xdotool("key Escape"));
    EXPECT_EQ(game.wait(kTimeoutMs), 1) << game.output();
}

TEST_F(InputGame, PointerCountsUpFromTheGameHeightAndOnlyWithoutAButton) {
    // The game has set its height to 480. The window's top row and left column
    // lie just off screen (it opens at -1, -1 without a window manager).
    ASSERT_TRUE(xdotool("mousemove --window " + window + " --sync 100 50"));
    ASSERT_TRUE(cursor.next("x=100 y=430 left=0\n")) << game.output();
    ASSERT_TRUE(xdotool("mousemove --window " + window + " --sync 639 240"));
    ASSERT_TRUE(cursor.next("x=639 y=240 left=0\n")) << game.output();
    ASSERT_TRUE(xdotool("mousemove --window " + window + " --sync 5 479"));
    ASSERT_TRUE(cursor.next("x=5 y=1 left=0\n")) << game.output();

    ASSERT_TRUE(xdotool("mousedown 1"));
    ASSERT_TRUE(cursor.next("x=5 y=1 left=1\n")) << game.output();
    // A drag is not a passive move: the position stays where the button went down.
    ASSERT_TRUE(xdotool("mousemove --window " + window + " --sync 300 200"));
    ASSERT_TRUE(xdotool("mouseup 1"));
    ASSERT_TRUE(cursor.next("left=0\n")) << game.output();
    EXPECT_NE(cursor.line().find("x=5 y=1 left=0"), std::string::npos) << game.output();

    ASSERT_TRUE(xdotool("mousemove --window " + window + " --sync 200 100"));
    ASSERT_TRUE(cursor.next("x=200 y=380 left=0\n")) << game.output();

    ASSERT_TRUE(xdotool("key Escape"));
    EXPECT_EQ(game.wait(kTimeoutMs), 1) << game.output();
}

TEST_F(InputGame, PointerHidesAndShowsOverTheWindow) {
    ASSERT_TRUE(xdotool("mousemove --window " + window + " --sync 300 200"));
    ASSERT_TRUE(cursor.next("x=300 y=280 left=0\n")) << game.output();
    ASSERT_TRUE(waitUntil([] { return visibleCursorPixels() > 0; }, kTimeoutMs));

    ASSERT_TRUE(xdotool("key h"));
    ASSERT_TRUE(cursor.next("normal-up 104 ")) << game.output();
    EXPECT_TRUE(waitUntil([] { return visibleCursorPixels() == 0; }, kTimeoutMs));
    ASSERT_TRUE(xdotool("key s"));
    ASSERT_TRUE(cursor.next("normal-up 115 ")) << game.output();
    EXPECT_TRUE(waitUntil([] { return visibleCursorPixels() > 0; }, kTimeoutMs));

    ASSERT_TRUE(xdotool("key Escape"));
    EXPECT_EQ(game.wait(kTimeoutMs), 1) << game.output();
}
