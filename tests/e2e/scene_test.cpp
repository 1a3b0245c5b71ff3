// A game's window as the player sees it: a picture, bold Chinese text, a
// warning on the console and the sound calls, in one run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/pngfiles.h"
#include "support/process.h"
#include "support/sound_files.h"

namespace {

constexpr int kTimeoutMs = 30000;
constexpr unsigned kWhite = 0xFFFFFF, kBlue = 0x0000FF, kRed = 0xFF0000;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;  // inclusive
    void add(int x, int y) {
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        ++count;
    }
};

Box pixelsOf(const Screenshot& shot, unsigned colour) {
    Box box;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.pixel(x, y) == colour) box.add(x, y);
    return box;
}

// The median length of the horizontal runs of a colour: the strokes' width.
int strokeWidth(const Screenshot& shot, unsigned colour) {
    std::vector<int> runs;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0, run = 0; x <= shot.width; ++x) {
            if (x < shot.width && shot.pixel(x, y) == colour) {
                ++run;
            } else if (run > 0) {
                runs.push_back(run);
                run = 0;
            }
        }
    if (runs.empty()) return 0;
    std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
    return runs[runs.size() / 2];
}

}  // namespace

TEST(Scene, PictureBoldChineseTextWarningAndSoundsInTheWindow) {
    TempDir resources;
    std::filesystem::create_directories(resources.file("Images"));
    std::filesystem::create_directories(resources.file("Sounds"));
    ASSERT_TRUE(writePng(resources.file("Images/block.png"), solidPicture(40, 30, {0, 0, 255})));
    writeToneWav(resources.file("Sounds/tone.wav"), 440, 200);
    writeToneWav(resources.file("tune.wav"), 660, 2000);
    ASSERT_EQ(std::system(("lame --quiet " + resources.file("tune.wav") + " " + resources.file("Sounds/tune.mp3")).c_str()), 0);

    GameProcess game(gameProgram("scene_view"), "VINDLE_TEST_RESOURCES='" + gamePath(resources.path()) + "'");
    ASSERT_TRUE(game.waitForOutput("ready", kTimeoutMs)) << game.output();
    const std::string out = game.output();
    EXPECT_NE(out.find("不存在编号为99的文本"), std::string::npos) << out;
    EXPECT_NE(out.find("missing x=-1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("sound wav=0 mp3=0 closed=0 unknown=other\n"), std::string::npos) << out;

    const std::string window = findGameWindow(game.pid(), kTimeoutMs);
    ASSERT_FALSE(window.empty());
    // The picture's lower-left corner is at (200, 20) and the text's base line
    // at (20, 100): the text is found from the picture, whatever frame the
    // window has around its game area.
    Screenshot shot;
    Box block;
    ASSERT_TRUE(waitUntil(
        [&] {
            shot = screenshot(window);
            block = pixelsOf(shot, kBlue);
            return block.count == 40 * 30;
        },
        kTimeoutMs))
        << block.count << " blue pixels";
    EXPECT_EQ(block.right - block.left + 1, 40);
    EXPECT_EQ(block.bottom - block.top + 1, 30);
    EXPECT_EQ(shot.pixel(block.left - 1, block.bottom), kWhite);

    const int baseLine = block.bottom - 80, textLeft = block.left - 180;
    Box text = pixelsOf(shot, kRed);
    ASSERT_GT(text.count, 200);
    EXPECT_GE(text.left, textLeft);
    EXPECT_LE(text.right, textLeft + 2 * 42);
    EXPECT_LE(text.bottom, baseLine + 10);  // a little below the line: the glyphs' descent
    EXPECT_GE(text.top, baseLine - 40);
    EXPECT_GE(text.right - text.left + 1, 56);  // two full-width characters
    // Bold: the strokes of the 40-pixel characters are thicker than the
    // 3 pixels the regular weight draws.
    EXPECT_GE(strokeWidth(shot, kRed), 4) << shot.width;

    shellOutput("xdotool windowfocus --sync " + window + " key Escape");
    EXPECT_EQ(game.wait(kTimeoutMs), 1) << game.output();
}
