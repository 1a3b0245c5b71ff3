// playSound and closeSound through the sound seam: the calls they make and
// how each result ends.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/messages.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "support/capture.h"
#include "support/fatal.h"
#include "support/sound_files.h"
#include "vindle.h"

namespace {

// Each call written down as MCI would receive it.
std::vector<std::string> commands;
int playResult = 0;
int recordPlay(const char* path, bool loop) {
    commands.push_back(std::string("play ") + path + (loop ? " repeat" : ""));
    return playResult;
}
int recordClose(const char* path) {
    commands.push_back(std::string("close ") + path);
    return PLATFORM_SOUND_NOT_OPEN;
}

class SoundCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeSoundsFolder();
        ASSERT_FALSE(dir.empty());
        writeToneWav(dir + "/Sounds/jump.wav", 440, 50);
        writeBytes(dir + "/Sounds/bgm.mp3", "not decoded here");
        writeBytes(dir + "/Sounds/other.ogg", "x");
        setResourcesDir(dir.c_str());
        commands.clear();
        playResult = 0;
        platformSetSoundHooks(recordPlay, recordClose);
        reportFatalBoxes();
    }
    void TearDown() override {
        platformSetSoundHooks(nullptr, nullptr);
        platformSetMessageBoxHook(nullptr);
        setResourcesDir("");
    }
    // The name the sound layer gives the file (its short path).
    std::string real(const std::string& name) {
        char shortPath[4096];
        return platformShortPath(systemPath(dir + "/Sounds/" + name).c_str(), shortPath, sizeof shortPath) ? shortPath
                                                                                                          : "";
    }
    std::string dir;
};

TEST_F(SoundCommands, PlayStartsTheFileByItsShortPathWithOrWithoutRepeatAndClosesNothing) {
    EXPECT_EQ(playSound("bgm.mp3", 1), 0);
    EXPECT_EQ(playSound("BGM.Mp3", 0), 0);  // found as Windows would find it
    EXPECT_EQ(playSound("jump.WAV", 7), 0);
    const std::string bgm = real("bgm.mp3"), jump = real("jump.wav");
    ASSERT_TRUE(platformFileExists(bgm.c_str())) << bgm;
    // The platform restarts a file that is open: a close first would make
    // every replay cost an open.
    EXPECT_EQ(commands, (std::vector<std::string>{"play " + bgm + " repeat", "play " + real("BGM.Mp3"),
                                                  "play " + jump + " repeat"}));
}

TEST_F(SoundCommands, CloseSendsOneCloseReturnsItsStatusAndPrintsNothing) {
    int existing = 0, missing = 0, foreign = 0;
    std::string printed = captureStdout([&] {
        existing = closeSound("jump.wav");
        missing = closeSound("never.mp3");
        foreign = closeSound("other.ogg");
    });
    EXPECT_EQ(printed, "");
    EXPECT_EQ(existing, 263);
    EXPECT_EQ(missing, 263);
    EXPECT_EQ(foreign, 263);
    EXPECT_EQ(commands, (std::vector<std::string>{"close " + real("jump.wav"), "close ", "close " + real("other.ogg")}));
}

using SoundCommandsDeathTest = SoundCommands;

TEST_F(SoundCommandsDeathTest, ExtensionIsCheckedBeforeExistence) {
    const std::string message = boxShowing(kMsgSoundBadExtension);
    EXPECT_EXIT(playSound("other.ogg", 0), ::testing::ExitedWithCode(kFatalStatus), message);
    EXPECT_EXIT(playSound("missing.ogg", 0), ::testing::ExitedWithCode(kFatalStatus), message);
    EXPECT_EXIT(playSound("jump", 0), ::testing::ExitedWithCode(kFatalStatus), message);
    char missing[4096 + 64];
    snprintf(missing, sizeof missing, kMsgSoundMissing, systemPath(dir + "/Sounds/a.mp3").c_str());
    EXPECT_EXIT(playSound("a.mp3", 0), ::testing::ExitedWithCode(kFatalStatus), boxShowing(missing));
    // A pipe named like a sound is no sound file.
    if (makePipe(dir + "/Sounds/pipe.wav")) {
        snprintf(missing, sizeof missing, kMsgSoundMissing, systemPath(dir + "/Sounds/pipe.wav").c_str());
        EXPECT_EXIT(playSound("pipe.wav", 0), ::testing::ExitedWithCode(kFatalStatus), boxShowing(missing));
    }
    // A name longer than the path buffer keeps its extension: missing, shown cut.
    const std::string huge = std::string(40000 - 4, 'n') + ".wav";
    std::string cutMessage = kMsgSoundMissing;
    cutMessage.replace(cutMessage.find("%s"), 2, systemPath(dir + "/Sounds/") + huge);
    EXPECT_EXIT(playSound(huge.c_str(), 0), ::testing::ExitedWithCode(kFatalStatus),
                boxShowing(cutMessage.substr(0, 10239)));
}

TEST_F(SoundCommandsDeathTest, PlayFailuresEndTheProcessWithTheirMessages) {
    char unsupported[1024];
    snprintf(unsupported, sizeof unsupported, kMsgSoundUnsupported, "bgm.mp3");
    playResult = 277;  // the file name as the game gave it, not the path
    EXPECT_EXIT(playSound("bgm.mp3", 1), ::testing::ExitedWithCode(kFatalStatus), boxShowing(unsupported));

    char deviceText[1024] = {};
    platformSoundErrorText(263, deviceText, sizeof deviceText);
    ASSERT_STRNE(deviceText, "");
    playResult = 263;  // any other code: the system's text alone
    EXPECT_EXIT(playSound("jump.wav", 0), ::testing::ExitedWithCode(kFatalStatus), boxShowing(deviceText));
}

}  // namespace
