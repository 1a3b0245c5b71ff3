// The file services of platform.h as any backend must give them: games are
// written on Windows, so names come with '\' separators and in any letter case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/temp_resources.h"

namespace {

// The path as a game on Windows would write it: backslashes, other letter case.
std::string windowsLike(const std::string& path, const std::string& tail) { return path + "\\" + tail; }

std::vector<std::string> listed(const std::string& folder, bool* searched) {
    std::vector<std::string> names;
    *searched = platformListPngFiles(
        folder.c_str(), [](const char* name, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(name); },
        &names);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(PlatformNames, ResultsAreCutToTheirBuffer) {
    char directory[8];
    const std::string path = std::string("abcdefghij") + platformPathSeparator() + "x.exe";
    platformDirectoryPart(path.c_str(), directory, sizeof directory);
    EXPECT_STREQ(directory, "abcdefg");
    platformDirectoryPart("x.exe", directory, sizeof directory);
    EXPECT_STREQ(directory, "");

    char executable[4] = "###";
    EXPECT_EQ(platformExecutablePath(executable, sizeof executable), 0u);
    EXPECT_STREQ(executable, "");
    char full[4096];
    EXPECT_GT(platformExecutablePath(full, sizeof full), 0u);
    EXPECT_TRUE(platformPathExists(full));
}

TEST(PlatformFiles, ExistenceOpeningAndShortPathFindWindowsLikeNames) {
    TempResources res;
    res.file("Sprites/Hero/Walk/1.png", "frame one");
    const std::string windows = windowsLike(res.root(), "sprites\\HERO/walk\\1.PNG");
    EXPECT_TRUE(platformPathExists(windows.c_str()));
    EXPECT_TRUE(platformPathExists(windowsLike(res.root(), "SPRITES\\hero").c_str()));  // folders too
    EXPECT_FALSE(platformPathExists(windowsLike(res.root(), "sprites\\hero\\walk\\2.png").c_str()));
    EXPECT_FALSE(platformPathExists(windowsLike(res.root(), "sprites\\hero\\walk\\1.png\\x").c_str()));
    EXPECT_FALSE(platformPathExists(""));

    FILE* file = platformOpenForReading(windows.c_str());
    ASSERT_NE(file, nullptr);
    char content[32] = {};
    EXPECT_EQ(fread(content, 1, sizeof content, file), 9u);
    fclose(file);
    EXPECT_STREQ(content, "frame one");
    EXPECT_EQ(platformOpenForReading(windowsLike(res.root(), "absent.png").c_str()), nullptr);

    // The short path names the same file in a form that needs no quoting.
    char shortPath[4096];
    ASSERT_TRUE(platformShortPath(windows.c_str(), shortPath, sizeof shortPath));
    EXPECT_TRUE(platformPathExists(shortPath));
    file = platformOpenForReading(shortPath);
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_FALSE(platformShortPath(windowsLike(res.root(), "absent.wav").c_str(), shortPath, sizeof shortPath));
    EXPECT_STREQ(shortPath, "");
    char tooSmall[4] = "###";
    EXPECT_FALSE(platformShortPath(windows.c_str(), tooSmall, sizeof tooSmall));
    EXPECT_STREQ(tooSmall, "");
}

TEST(PlatformFiles, FrameListingGivesEachPngFileOnceAndOnlyFiles) {
    TempResources res;
    for (const char* name : {"1.png", "2.PNG", "10.Png", "notes.txt", "3.png.bak"}) res.file(std::string("walk/") + name);
    res.folder("walk/folder.png");
    bool searched = false;
    EXPECT_EQ(listed(windowsLike(res.root(), "WALK"), &searched), (std::vector<std::string>{"1.png", "10.Png", "2.PNG"}));
    EXPECT_TRUE(searched);

    res.folder("empty");
    EXPECT_TRUE(listed(res.path("empty"), &searched).empty());
    EXPECT_TRUE(searched);
    EXPECT_TRUE(listed(res.path("absent"), &searched).empty());
    EXPECT_FALSE(searched);
}
