// A game that sets no resources directory finds its files beside its
// program, as GetModuleFileNameA names it, also in folders with blanks and
// Chinese names: a picture, twelve sprite frames in the order of their
// numbers, and a sound that MCI is given by a short path without blanks.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/lock.h"
#include "core/paths.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "platform/win32/mci.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "support/child_program.h"
#include "support/environment.h"
#include "support/files.h"
#include "support/pngfiles.h"
#include "support/sound_files.h"
#include "vindle.h"

namespace {

// "游戏 目录\第 一 关": the folders the program is copied into.
const char kGameFolder[] = "游戏 目录";
const char kLevelFolder[] = "第 一 关";

std::vector<std::string> mciCommands;

}  // namespace

// Run by the test below in the copy of this program.
TEST(ResourcesBesideTheProgram, DISABLED_AreFoundWithoutASetDirectory) {
    const std::string directory = getExeDirectory();
    EXPECT_EQ(directory.substr(directory.size() - strlen(kLevelFolder) - 2),
              std::string("\\") + kLevelFolder + "\\");

    createImage(1, "bg.png");  // a missing picture would end the process
    EXPECT_EQ(getImageWidth(1), 3);

    createSprite(1, "hero");
    playSpriteAnimate(1, "walk");
    std::vector<std::string> frames;
    lockEngine();
    for (const SpriteFrame& frame : spriteTable.find(1)->frames)
        frames.push_back(frame.path.substr(frame.path.rfind('\\') + 1));
    unlockEngine();
    std::vector<std::string> inOrder;
    for (int frame = 1; frame <= 12; ++frame) inOrder.push_back(std::to_string(frame) + ".png");
    EXPECT_EQ(frames, inOrder);

    setMciSendHook([](const char* command) {
        mciCommands.push_back(command);
        return 0;
    });
    EXPECT_EQ(playSound("jump.wav", 0), 0);
    setMciSendHook(nullptr);
    ASSERT_EQ(mciCommands.size(), 2u);
    const std::string open = mciCommands[0];
    const std::string shortPath = open.substr(5, open.find(' ', 5) - 5);
    EXPECT_EQ(open, "open " + shortPath + " type mpegvideo alias " + shortPath);
    EXPECT_TRUE(platformFileExists(shortPath.c_str())) << shortPath;
    EXPECT_EQ(mciCommands[1], "play " + shortPath);
}

TEST(ResourcesBesideTheProgram, AreFoundWithoutASetDirectoryInFoldersWithBlanksAndChineseNames) {
    std::string folder = makeTempFolder("vindle-resources-");
    ASSERT_FALSE(folder.empty());
    for (const char* name : {kGameFolder, kLevelFolder}) {
        folder += std::string("\\") + name;
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    }
    const std::string program = folder + "\\game.exe";
    ASSERT_TRUE(CopyFileA(testProgramPath().c_str(), program.c_str(), FALSE)) << GetLastError();
    for (const char* sub : {"\\Images", "\\Sounds", "\\Sprites", "\\Sprites\\hero", "\\Sprites\\hero\\walk"})
        ASSERT_TRUE(CreateDirectoryA((folder + sub).c_str(), nullptr)) << sub;
    ASSERT_TRUE(writePng(folder + "\\Images\\bg.png", solidPicture(3, 2, {1, 2, 3})));
    for (int frame = 12; frame >= 1; --frame)
        ASSERT_TRUE(writePng(folder + "\\Sprites\\hero\\walk\\" + std::to_string(frame) + ".png",
                             solidPicture(frame, 1, {9, 9, 9})));
    writeToneWav(folder + "\\Sounds\\jump.wav", 440, 50);

    const std::string report = folder + "\\report.json";
    ChildRun run;
    run.arguments = "--gtest_output=json:\"" + report + "\"";
    const int status = runTestInChild(program, "ResourcesBesideTheProgram.DISABLED_AreFoundWithoutASetDirectory", run);
    EXPECT_EQ(status, 0) << readBytes(report);
}
