// The sound section of the Windows backend: the MCI command strings it sends,
// recorded at the mciSendStringA boundary, and what real MCI does with them
// under Wine (looping a WAV, restarting, closing from another thread).
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/mci.h"
#include "support/files.h"
#include "support/sound_files.h"
#include "vindle.h"

namespace {

struct Sent {
    std::string command;
    DWORD thread;
};
std::vector<Sent> sent;
// What the recording MCI answers to commands starting with a word.
std::string failingWord;
int failure = 0;

int recordCommand(const char* command) {
    sent.push_back({command, GetCurrentThreadId()});
    return !failingWord.empty() && std::string(command).rfind(failingWord, 0) == 0 ? failure : 0;
}

std::vector<std::string> commands() {
    std::vector<std::string> texts;
    for (const Sent& s : sent) texts.push_back(s.command);
    return texts;
}

class MciCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeSoundsFolder();
        ASSERT_FALSE(dir.empty());
        writeBytes(dir + "/Sounds/bgm.mp3", "not decoded here");
        writeToneWav(dir + "/Sounds/jump.wav", 440, 50);
        setResourcesDir(dir.c_str());
        setMciSendHook(recordCommand);
        sent.clear();
        failingWord.clear();
    }
    void TearDown() override {
        platformBeforeExit();  // forgets what the test opened
        setMciSendHook(nullptr);
        setResourcesDir("");
    }
    std::string shortPath(const std::string& name) {
        char path[4096];
        return platformShortPath(systemPath(dir + "/Sounds/" + name).c_str(), path, sizeof path) ? path : "";
    }
    std::string dir;
};

}  // namespace

TEST_F(MciCommands, AFileIsOpenedOnceAsItsOwnDeviceAndRestartedBySeekingToItsStart) {
    const std::string bgm = shortPath("bgm.mp3"), jump = shortPath("jump.wav");
    ASSERT_EQ(bgm.find(' '), std::string::npos) << bgm;
    EXPECT_EQ(playSound("bgm.mp3", 1), 0);
    EXPECT_EQ(playSound("jump.wav", 1), 0);  // a looping WAV as well
    EXPECT_EQ(playSound("bgm.mp3", 0), 0);
    EXPECT_EQ(closeSound("bgm.mp3"), 0);
    EXPECT_EQ(playSound("bgm.mp3", 0), 0);
    EXPECT_EQ(commands(), (std::vector<std::string>{
                              "open " + bgm + " type mpegvideo alias " + bgm,
                              "play " + bgm + " repeat",
                              "open " + jump + " type mpegvideo alias " + jump,
                              "play " + jump + " repeat",
                              "seek " + bgm + " to start",
                              "play " + bgm,
                              "close " + bgm,
                              "open " + bgm + " type mpegvideo alias " + bgm,
                              "play " + bgm,
                          }));
    sent.clear();
    platformBeforeExit();
    EXPECT_EQ(commands(), std::vector<std::string>{"close all"});
}

TEST_F(MciCommands, EveryCommandIsSentFromOneThreadWhoeverCalls) {
    // MCI names devices per thread: a sound started by the game thread is
    // restarted from a key handler and closed at exit on other threads.
    playSound("bgm.mp3", 1);
    std::thread([] { playSound("bgm.mp3", 1); }).join();
    std::thread([] { closeSound("bgm.mp3"); }).join();
    ASSERT_EQ(sent.size(), 5u);
    for (const Sent& s : sent) {
        EXPECT_EQ(s.thread, sent.front().thread) << s.command;
        EXPECT_NE(s.thread, GetCurrentThreadId()) << s.command;
    }
    EXPECT_EQ(sent[2].command, "seek " + shortPath("bgm.mp3") + " to start");
}

TEST_F(MciCommands, AFileTheMpegDeviceCannotOpenIsPlayedByTheDeviceOfItsType) {
    const std::string jump = shortPath("jump.wav");
    failingWord = "open";
    failure = MCIERR_INTERNAL;
    EXPECT_EQ(platformPlaySound(jump.c_str(), false), 0);
    EXPECT_EQ(commands(), (std::vector<std::string>{"open " + jump + " type mpegvideo alias " + jump, "play " + jump}));
    // When that device fails too, the game is told its failure.
    sent.clear();
    setMciSendHook([](const char* command) {
        const int result = recordCommand(command);
        return result ? result : static_cast<int>(MCIERR_UNRECOGNIZED_COMMAND);
    });
    EXPECT_EQ(platformPlaySound(jump.c_str(), true), static_cast<int>(MCIERR_UNRECOGNIZED_COMMAND));
    EXPECT_EQ(commands(), (std::vector<std::string>{"open " + jump + " type mpegvideo alias " + jump,
                                                    "play " + jump + " repeat"}));
}

namespace {

// Real MCI, as the game gets it. Positions are in milliseconds.
class RealMci : public ::testing::Test {
protected:
    void SetUp() override {
        if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no audio output here for MCI to play on";
        dir = makeSoundsFolder();
        ASSERT_FALSE(dir.empty());
        setResourcesDir(dir.c_str());
    }
    void TearDown() override {
        platformBeforeExit();
        setResourcesDir("");
    }
    std::string shortPath(const std::string& name) {
        char path[4096];
        return platformShortPath(systemPath(dir + "/Sounds/" + name).c_str(), path, sizeof path) ? path : "";
    }
    std::string status(const std::string& name, const char* item) {
        char answer[128] = {};
        sendMciCommand(("status " + shortPath(name) + " " + item).c_str(), answer, sizeof answer);
        return answer;
    }
    // How many devices are open. (A status of a closed file would open it
    // for the one command.)
    std::string openDevices() {
        char answer[128] = {};
        sendMciCommand("sysinfo all quantity open", answer, sizeof answer);
        return answer;
    }
    std::string dir;
};

}  // namespace

TEST_F(RealMci, ALoopingWavPlaysOnPastItsEnd) {
    writeToneWav(dir + "/Sounds/loop.wav", 440, 400);
    ASSERT_EQ(playSound("loop.wav", 1), 0);  // waveaudio would refuse the repeat
    Sleep(1000);
    EXPECT_EQ(status("loop.wav", "mode"), "playing");
    EXPECT_LT(std::atoi(status("loop.wav", "position").c_str()), 400);
}

TEST_F(RealMci, AReplayStartsTheFileAgainAndAnotherThreadsCloseStopsIt) {
    writeToneWav(dir + "/Sounds/long.wav", 440, 20000);
    ASSERT_EQ(playSound("long.wav", 0), 0);
    Sleep(800);
    ASSERT_GE(std::atoi(status("long.wav", "position").c_str()), 500);
    std::thread([] { EXPECT_EQ(playSound("long.wav", 0), 0); }).join();
    EXPECT_LT(std::atoi(status("long.wav", "position").c_str()), 500);
    EXPECT_EQ(status("long.wav", "mode"), "playing");
    EXPECT_EQ(openDevices(), "1");
    int closed = -1;
    std::thread([&] { closed = closeSound("long.wav"); }).join();
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(openDevices(), "0");
}
