#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

#include "core/paths.h"
#include "core/settings.h"
#include "support/capture.h"
#include "vindle.h"

namespace {

std::string exeDirectory() { return getExeDirectory(); }

std::string resourcePath(const char* folder, const char* name) {
    std::string path;
    bool fits = buildResourcePath(path, folder, name);
    return fits ? path : "<refused, cut to " + std::to_string(path.size()) + ">";
}

}  // namespace

TEST(Settings, DefaultsAndVersion) {
    EXPECT_EQ(getGameWidth(), 800);
    EXPECT_EQ(getGameHeight(), 600);
    EXPECT_EQ(getViewPortPositionX(), 0);
    EXPECT_EQ(getViewPortPositionY(), 0);
    EXPECT_EQ(getZQGameVersion(), 20171208);
}

TEST(Settings, StoredAsGivenWithoutClamping) {
    setViewPortPosition(-50, 7);
    EXPECT_EQ(getViewPortPositionX(), -50);
    EXPECT_EQ(getViewPortPositionY(), 7);
    setViewPortPosition(0, 0);
    setBgColor(255.0f, -1.0f, 0.5f);
    EXPECT_EQ(settings.bgRed.load(), 255.0f);
    EXPECT_EQ(settings.bgGreen.load(), -1.0f);
    EXPECT_EQ(settings.bgBlue.load(), 0.5f);
    setBgColor(1.0f, 1.0f, 1.0f);
}

TEST(ExeDirectory, IsTheTestProgramsFolderEndingInASeparator) {
    std::string dir = exeDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_EQ(dir.back(), '/');
    char self[4096] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(self).rfind(dir, 0), 0u) << self;
    EXPECT_EQ(std::string(self).find('/', dir.size()), std::string::npos);
}

TEST(ResourcePaths, DefaultDirectoryGivesTwoSeparatorsASetOneGivesOne) {
    setResourcesDir(nullptr);  // null counts as empty: back to the default
    EXPECT_EQ(resourcePath("Images", "bg.png"), exeDirectory() + "/Images/bg.png");

    setResourcesDir("/games/e");
    EXPECT_EQ(resourcePath("Images", "bg.png"), "/games/e/Images/bg.png");
    EXPECT_EQ(resourcePath("Sprites", "hero"), "/games/e/Sprites/hero");
    setResourcesDir("");
    EXPECT_EQ(resourcePath("Sounds", "a.mp3"), exeDirectory() + "/Sounds/a.mp3");
}

TEST(ResourcePaths, EmptyDirectoryLeavesPathsRelativeToTheWorkingDirectory) {
    // What an unreadable executable path yields: the folder alone, not "/Images".
    EXPECT_EQ(joinPath("", "Images"), "Images");
    EXPECT_EQ(joinPath("/games/", "Sprites"), "/games//Sprites");
    std::string longest(kPathBufferSize - 1, 'p'), tooLong(kPathBufferSize, 'p');
    EXPECT_TRUE(fitsPathBuffer(longest));
    EXPECT_FALSE(fitsPathBuffer(tooLong));
    EXPECT_EQ(tooLong, longest);  // cut to what fits
}

TEST(ResourcePaths, TooLongDirectoryIsRefusedWithAWarningAndTheOldOneKept) {
    setResourcesDir("/games/old");
    std::string huge(kPathBufferSize, 'd');
    std::string out = captureStdout([&] { setResourcesDir(huge.c_str()); });
    EXPECT_EQ(out, "资源目录太长（不能超过31999字节），仍使用原来的目录\n");
    EXPECT_EQ(resourcePath("Images", "a.png"), "/games/old/Images/a.png");

    // The longest directory that fits is taken, but no path built on it fits.
    std::string longest(kPathBufferSize - 1, 'd');
    EXPECT_EQ(captureStdout([&] { setResourcesDir(longest.c_str()); }), "");
    EXPECT_EQ(resourcePath("Images", "a.png"), "<refused, cut to 31999>");
    setResourcesDir("");
}

TEST(FileNames, ExtensionAndBaseNameOfTheLastComponentAsWindowsSplitsThem) {
    EXPECT_EQ(fileExtension("Sprites/hero/walk/12.PNG"), ".PNG");
    EXPECT_EQ(fileBaseName("Sprites/hero/walk/12.PNG"), "12");
    EXPECT_EQ(fileExtension("C:\\games\\Sounds\\bgm.mp3"), ".mp3");
    EXPECT_EQ(fileBaseName("C:\\games\\Sounds\\bgm.mp3"), "bgm");
    EXPECT_EQ(fileBaseName("C:12.png"), "12");  // the drive is no part of the name
    EXPECT_EQ(fileExtension("music.tar.gz"), ".gz");
    EXPECT_EQ(fileBaseName("music.tar.gz"), "music.tar");
    EXPECT_EQ(fileBaseName(".wav"), "");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(fileExtension("old.d\\jump"), "");
    EXPECT_EQ(fileBaseName("old.d/jump"), "jump");
    EXPECT_EQ(fileExtension(""), "");
    EXPECT_EQ(fileBaseName(""), "");
    // A GBK character may end in 0x5C, the byte of '\\': it separates nothing.
    EXPECT_EQ(fileBaseName("Sounds\\\x81\x5C.wav"), "\x81\x5C");
    EXPECT_EQ(fileExtension("x.\x81\x5C"), ".\x81\x5C");
}

TEST(PauseGame, NegativeOrZeroReturnsAtOnceAndPositiveSleeps) {
    auto start = std::chrono::steady_clock::now();
    pauseGame(-1);
    pauseGame(0);
    auto quick = std::chrono::steady_clock::now() - start;
    EXPECT_LT(quick, std::chrono::seconds(1));  // -1 read as unsigned would never return
    start = std::chrono::steady_clock::now();
    pauseGame(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST(AsyncRun, RunsTheFunctionWithItsArgumentOnAnotherThread) {
    std::atomic<int> seen{0};
    asyncRun([](void* argument) { static_cast<std::atomic<int>*>(argument)->store(42); }, &seen);
    for (int i = 0; i < 500 && seen.load() == 0; ++i) pauseGame(10);
    EXPECT_EQ(seen.load(), 42);
    asyncRun(nullptr, nullptr);  // no function: nothing happens
}
