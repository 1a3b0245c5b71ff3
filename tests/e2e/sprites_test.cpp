#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/pngfiles.h"
#include "support/process.h"

// The window's timer advances the frames every 300 ms from start-up on, and
// the frame draws the current one: the width read back follows the frames.
TEST(SpriteAnimation, TheWindowTimerStepsThroughTheFramesAndStopsOnTheLast) {
    TempDir resources;
    std::filesystem::create_directories(resources.file("Sprites/counter/count"));
    for (int w = 1; w <= 4; ++w)
        ASSERT_TRUE(writePng(resources.file("Sprites/counter/count/" + std::to_string(w) + ".png"),
                             solidPicture(w, 2, {90, 90, 90})));
    GameProcess game(gameProgram("sprite_timer"), "VINDLE_TEST_RESOURCES='" + gamePath(resources.path()) + "'");
    ASSERT_EQ(game.wait(30000), 1) << game.output();
    std::string out = game.output();
    ASSERT_NE(out.find("done"), std::string::npos) << out;

    std::vector<int> widths;
    std::vector<long long> times;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        int width = 0;
        long long at = 0;
        if (sscanf(line.c_str(), "width %d at %lld", &width, &at) == 2) {
            widths.push_back(width);
            times.push_back(at);
        }
    }
    // Shown in order, each once; no wrap to the first frame after the last.
    EXPECT_EQ(widths, (std::vector<int>{1, 2, 3, 4})) << out;
    // Ticks come no faster than the period allows (drawing adds a little
    // jitter; a loaded machine only makes them later).
    for (size_t i = 2; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 200) << out;
}
