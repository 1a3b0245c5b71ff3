#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"
#include "support/sound_files.h"

namespace {

// One field of the window's geometry as xdotool gives it (X, Y, WIDTH, HEIGHT).
std::string geometryField(const std::string& window, const std::string& name) {
    std::string out = shellOutput("xdotool getwindowgeometry --shell " + window + " 2>/dev/null");
    size_t at = out.find(name + "=");
    if (at == std::string::npos) return "?";
    at += name.size() + 1;
    return out.substr(at, out.find('\n', at) - at);
}

std::string geometry(const std::string& window) {
    return geometryField(window, "WIDTH") + "x" + geometryField(window, "HEIGHT");
}

}  // namespace

TEST(StartUp, ReturningFromGameMainEndsWithStatusOneWhileTheWindowDraws) {
    // Returns at different moments of the frame loop; a race at exit would
    // turn status 1 into a crash now and then. Every other run leaves an MP3
    // playing.
    TempDir resources;
    std::filesystem::create_directories(resources.file("Sounds"));
    writeToneWav(resources.file("tune.wav"), 500, 3000);
    ASSERT_EQ(std::system(("lame --quiet " + resources.file("tune.wav") + " " + resources.file("Sounds/tune.mp3")).c_str()), 0);
    for (int run = 0; run < 24; ++run) {
        std::string environment = "VINDLE_TEST_DELAY_MS=" + std::to_string(run * 7 % 60);
        if (run % 2) environment += " VINDLE_TEST_SOUND=tune.mp3 VINDLE_TEST_RESOURCES='" + gamePath(resources.path()) + "'";
        GameProcess game(gameProgram("returns"), environment);
        ASSERT_EQ(game.wait(30000), 1) << "run " << run << ":\n" << game.output();
    }
}

TEST(StartUp, ClosingTheWindowEndsTheGameAtOnceWithStatusZeroWithOrWithoutMusic) {
    TempDir resources;
    std::filesystem::create_directories(resources.file("Sounds"));
    writeToneWav(resources.file("Sounds/tune.wav"), 500, 3000);
    ASSERT_EQ(std::system(("lame --quiet '" + resources.file("Sounds/tune.wav") + "' '" +
                           resources.file("Sounds/tune.mp3") + "'")
                              .c_str()),
              0);
    for (const char* sound : {"", "tune.mp3", "tune.wav"}) {
        SCOPED_TRACE(*sound ? sound : "no sound");
        std::string environment = "VINDLE_TEST_DELAY_MS=60000";
        if (*sound) environment += std::string(" VINDLE_TEST_SOUND=") + sound + " VINDLE_TEST_RESOURCES='" +
                                   gamePath(resources.path()) + "'";
        GameProcess game(gameProgram("returns"), environment);
        ASSERT_TRUE(game.waitForOutput(*sound ? "sound started" : "game started", 30000)) << game.output();
        const std::string window = findGameWindow(game.pid(), 20000);
        ASSERT_FALSE(window.empty()) << game.output();
        closeWindow(window);
        EXPECT_EQ(game.wait(10000), 0) << game.output();
    }
}

TEST(StartUp, WithoutADisplayOrStartedTwiceTheGameEndsWithItsFatalMessageAndStatus255) {
    GameProcess headless(gameProgram("returns"), "-u DISPLAY");
    EXPECT_EQ(headless.wait(30000), 255) << headless.output();
    EXPECT_NE(headless.output().find("无法连接到窗口系统"), std::string::npos) << headless.output();
    EXPECT_EQ(headless.output().find("game started"), std::string::npos) << headless.output();

    GameProcess twice(gameProgram("returns") + " again");
    const std::string box = findWindowByName("遇到严重错误", 30000);
    ASSERT_FALSE(box.empty()) << twice.output();
    EXPECT_NE(twice.output().find("游戏引擎已经启动了"), std::string::npos) << twice.output();
    ASSERT_TRUE(waitUntil([&] { return focusedWindow() == box; }, 30000));
    shellOutput("xdotool key Return");
    EXPECT_EQ(twice.wait(30000), 255) << twice.output();
}

TEST(StartUp, TheGameKeepsAConnectionToTheDisplayUntilItsWindowExists) {
    // An X server resets when its last client leaves and refuses connections
    // meanwhile: a test connection closed right before GLUT opened its own
    // made one start in forty fail on Xvfb.
    if (gamesUnderLauncher()) GTEST_SKIP() << "X connections are the Linux backend's; Wine makes its own";
    GameProcess game(gameProgram("returns"), std::string("LD_PRELOAD=") + GLUT_TRACE);
    ASSERT_EQ(game.wait(30000), 1) << game.output();
    const std::string out = game.output();
    const size_t window = out.find("[trace] window created");
    ASSERT_NE(window, std::string::npos) << out;
    std::istringstream lines(out.substr(0, window));
    int open = 0, opened = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line == "[trace] display opened") ++open, ++opened;
        if (line == "[trace] display closed") {
            --open;
            EXPECT_GT(open, 0) << "the game had no connection left before its window:\n" << out;
        }
    }
    EXPECT_GE(opened, 1) << out;
}

TEST(StartUp, BannerOfFourLinesComesBeforeTheWindow) {
    GameProcess game(gameProgram("returns"), std::string("LD_PRELOAD=") + GLUT_TRACE);
    ASSERT_EQ(game.wait(30000), 1) << game.output();
    std::string out = game.output();
    size_t window = out.find("[trace] window created");
    ASSERT_NE(window, std::string::npos) << out;
    std::string banner = out.substr(0, window);
    int lines = 0;
    for (size_t at = banner.find("\r\n"); at != std::string::npos; at = banner.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 4) << banner;
    EXPECT_EQ(banner.size() >= 2 ? banner.substr(banner.size() - 2) : "", "\r\n");
    // It sends the student to the manual that comes with the engine.
    EXPECT_NE(banner.find("docs"), std::string::npos) << banner;
    EXPECT_LT(window, out.find("game started"));
}

TEST(Window, SnapsBackToTheGameSizeAfterAnOutsideResize) {
    GameProcess game(gameProgram("window_size"));
    ASSERT_TRUE(game.waitForOutput("size 800 600", 20000)) << game.output();
    std::string window = findGameWindow(game.pid(), 20000);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(waitUntil([&] { return geometry(window) == "800x600"; }, 20000)) << geometry(window);
    shellOutput("xdotool windowsize " + window + " 500 400");
    // The resize shows at least briefly or is undone at once; either way the
    // window ends at the game size.
    EXPECT_TRUE(waitUntil([&] { return geometry(window) == "800x600"; }, 20000)) << geometry(window);
    shellOutput("xdotool windowsize " + window + " 1000 300");
    EXPECT_TRUE(waitUntil([&] { return geometry(window) == "800x600"; }, 20000)) << geometry(window);
}

TEST(Window, SetGameSizeFromGameMainResizesTheWindow) {
    GameProcess game(gameProgram("window_size") + " 1024 768");
    ASSERT_TRUE(game.waitForOutput("size 1024 768", 20000)) << game.output();
    std::string window = findGameWindow(game.pid(), 20000);
    ASSERT_FALSE(window.empty());
    EXPECT_TRUE(waitUntil([&] { return geometry(window) == "1024x768"; }, 20000)) << geometry(window);
}

TEST(Window, ASmallGamesWindowIsFilledToItsEdgesWhateverSizeTheSystemGivesIt) {
    // Windows keeps a captioned window wide enough for its caption's buttons:
    // the window of this 100 by 100 game is wider there, and must not show
    // what was on the screen before.
    GameProcess game(gameProgram("small_game"));
    ASSERT_TRUE(game.waitForOutput("ready 100 100", 30000)) << game.output();
    const std::string window = findGameWindow(game.pid(), 20000);
    ASSERT_FALSE(window.empty()) << game.output();
    // The screen shows the part of the window on it: without a window
    // manager, X puts the window at -1,-1.
    int left = 0, width = 0;
    Screenshot shot;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (geometryField(window, "HEIGHT") != "100") return false;
            left = std::max(0, -std::stoi(geometryField(window, "X")));
            width = std::stoi(geometryField(window, "WIDTH"));
            shot = screenshot(window);
            return shot.width > 0 && shot.width + left == width &&
                   shot.pixel(shot.width - 1, shot.height - 1) == 0x0000FF;
        },
        20000))
        << shot.width << "x" << shot.height << " of a window " << width << " wide";
    EXPECT_GE(width, 100);
    int inkBeyondTheGame = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const unsigned pixel = shot.pixel(x, y);
            ASSERT_TRUE(pixel == 0x0000FF || pixel == 0xFFFFFF) << x + left << "," << y << ": " << std::hex << pixel;
            if (pixel == 0xFFFFFF && x + left >= 100) ++inkBeyondTheGame;
        }
    }
    // The text runs on to the window's edge.
    if (width > 100) {
        EXPECT_GT(inkBeyondTheGame, 0);
    }
}

TEST(Window, SizesTheWindowSystemRefusesAreStoredAndTheWindowTakesTheNearestItCanHave) {
    std::string screen = shellOutput("xdotool getdisplaygeometry");
    const int screenWidth = std::stoi(screen), screenHeight = std::stoi(screen.substr(screen.find(' ')));
    struct Case {
        const char* width;
        const char* height;
        std::string window;
    };
    const std::vector<Case> cases = {
        {"0", "0", "1x1"},
        {"0", "600", "1x600"},
        {"-100", "600", "1x600"},
        {"-2147483648", "2147483647", "1x" + std::to_string(screenHeight)},
        {"100000", "100000", std::to_string(screenWidth) + "x" + std::to_string(screenHeight)},
        {"640", "480", "640x480"},  // and the game goes on
    };
    std::string arguments;
    for (const Case& c : cases) arguments += std::string(" ") + c.width + " " + c.height;
    GameProcess game(gameProgram("window_size") + arguments);
    std::string window = findGameWindow(game.pid(), 20000);
    ASSERT_FALSE(window.empty()) << game.output();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " " + c.height);
        ASSERT_TRUE(game.waitForOutput(std::string("size ") + c.width + " " + c.height + "\n", 20000))
            << game.output();
        EXPECT_TRUE(waitUntil([&] { return geometry(window) == c.window; }, 20000)) << geometry(window);
    }
}
