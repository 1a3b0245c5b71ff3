// Real playback through SDL's disk driver: the mix goes to a file in real time,
// so what the player would hear can be read back.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/messages.h"
#include "platform/linux/sound.h"
#include "platform/platform.h"
#include "support/capture.h"
#include "support/sound_files.h"
#include "vindle.h"

namespace {

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class SoundPlayback : public ::testing::Test {
protected:
    // The device opens once per process, so the driver is chosen before any play.
    static void SetUpTestSuite() {
        dir = makeSoundsFolder();
        output = dir + "/mix.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        const std::string sounds = dir + "/Sounds/";
        writeToneWav(sounds + "low.wav", 440, 1500);
        writeToneWav(sounds + "high.wav", 1000, 1500);
        writeToneWav(sounds + "short.wav", 440, 200);
        writeToneWav(sounds + "blip.wav", 440, 200, 1500);
        writeToneWav(sounds + "mp3 source.wav", 660, 1500);
        writeBytes(sounds + "garbage.mp3", std::string(4000, 'x'));
        const std::string lame = "lame --quiet '" + sounds + "mp3 source.wav' '" + sounds + "tone.mp3'";
        lameWorked = system(lame.c_str()) == 0;
    }
    void SetUp() override {
        ASSERT_TRUE(lameWorked) << "the MP3 fixture needs Debian's lame";
        setResourcesDir(dir.c_str());
    }
    void TearDown() override { setResourcesDir(""); }

    // Left-channel samples the device writes during the next ms milliseconds.
    std::vector<int16_t> listen(int ms) {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        EXPECT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
        EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
        EXPECT_EQ(format, AUDIO_S16LSB);
        rate = frequency;
        struct stat info;
        stat(output.c_str(), &info);
        const long frame = 2L * channels, start = info.st_size / frame * frame;
        sleepMs(ms);
        std::vector<int16_t> left;
        FILE* file = fopen(output.c_str(), "rb");
        if (!file) return left;
        fseek(file, start, SEEK_SET);
        std::vector<int16_t> sample(channels);
        while (fread(sample.data(), 2, channels, file) == static_cast<size_t>(channels)) left.push_back(sample[0]);
        fclose(file);
        return left;
    }
    // Amplitude of one frequency in the samples (Goertzel).
    double level(const std::vector<int16_t>& samples, double frequency) {
        const double coefficient = 2 * std::cos(2 * M_PI * frequency / rate);
        double s1 = 0, s2 = 0;
        for (int16_t x : samples) {
            double s0 = x + coefficient * s1 - s2;
            s2 = s1, s1 = s0;
        }
        return samples.empty() ? 0 : 2 * std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / samples.size();
    }
    static int peak(const std::vector<int16_t>& samples) {
        int highest = 0;
        for (int16_t x : samples) highest = std::max(highest, std::abs(static_cast<int>(x)));
        return highest;
    }

    static inline std::string dir, output;
    static inline bool lameWorked = false;
    int rate = 44100;
};

TEST_F(SoundPlayback, WavAndMp3SoundWhilePlayingAndFallSilentAfterClose) {
    const std::pair<const char*, double> sounds[] = {{"low.wav", 440}, {"tone.mp3", 660}};
    for (const auto& [name, frequency] : sounds) {
        SCOPED_TRACE(name);
        EXPECT_EQ(playSound(name, 0), 0);
        sleepMs(100);
        std::vector<int16_t> playing = listen(250);
        ASSERT_GT(playing.size(), 1000u);
        EXPECT_GT(level(playing, frequency), 6000);
        EXPECT_EQ(closeSound(name), 0);
        sleepMs(150);
        EXPECT_EQ(peak(listen(250)), 0);
        EXPECT_NE(closeSound(name), 0);  // no longer open
    }
}

TEST_F(SoundPlayback, RepeatLoopsPastTheEndAndPlayingAgainRestarts) {
    playSound("short.wav", 1);  // 200 ms long
    sleepMs(600);
    EXPECT_GT(level(listen(250), 440), 6000);
    playSound("short.wav", 0);  // the same file again: from the start, once
    sleepMs(600);
    EXPECT_EQ(peak(listen(250)), 0);

    playSound("blip.wav", 0);  // 200 ms tone, then silence
    sleepMs(500);
    EXPECT_EQ(peak(listen(250)), 0);
    playSound("blip.wav", 0);
    EXPECT_GT(level(listen(200), 440), 3000);
}

TEST_F(SoundPlayback, TwoFilesSoundTogetherAndCloseApart) {
    playSound("low.wav", 1);
    playSound("high.wav", 1);
    sleepMs(100);
    std::vector<int16_t> both = listen(250);
    EXPECT_GT(level(both, 440), 6000);
    EXPECT_GT(level(both, 1000), 6000);
    closeSound("low.wav");
    sleepMs(150);
    std::vector<int16_t> high = listen(250);
    EXPECT_LT(level(high, 440), 300);
    EXPECT_GT(level(high, 1000), 6000);
    closeSound("high.wav");
}

TEST_F(SoundPlayback, LongFilesAreStreamedSoTwoOpenAtOnceStaySmall) {
    // Three minutes each: decoded whole for the device, 32 MB apiece.
    const std::string sounds = dir + "/Sounds/";
    writeToneWav(sounds + "long low.wav", 440, 180000);
    writeToneWav(sounds + "long high.wav", 1000, 180000);
    const long before = residentKilobytes();
    EXPECT_EQ(playSound("long low.wav", 1), 0);
    EXPECT_EQ(playSound("long high.wav", 0), 0);
    sleepMs(100);
    std::vector<int16_t> both = listen(250);
    const long grown = residentKilobytes() - before;
    EXPECT_GT(level(both, 440), 6000);
    EXPECT_GT(level(both, 1000), 6000);
    EXPECT_LT(grown, 20 * 1024) << "kilobytes";
    closeSound("long low.wav");
    closeSound("long high.wav");
    remove((sounds + "long low.wav").c_str());
    remove((sounds + "long high.wav").c_str());
}

TEST_F(SoundPlayback, BackendAnswersWithMciCodes) {
    for (int i = 0; i < 100; ++i) playSound("short.wav", i % 2);
    EXPECT_EQ(closeSound("short.wav"), 0);
    EXPECT_EQ(closeSound("short.wav"), 263);
    EXPECT_EQ(closeSound("never played.wav"), 263);
    EXPECT_EQ(platformCloseSound(""), 263);
    EXPECT_EQ(platformPlaySound("", false), 263);
    EXPECT_EQ(platformPlaySound((dir + "/Sounds/absent.wav").c_str(), false), 275);
    EXPECT_EQ(platformPlaySound((dir + "/Sounds/garbage.mp3").c_str(), true), 277);
    EXPECT_EQ(platformCloseSound((dir + "/Sounds/garbage.mp3").c_str()), 263);
    char text[256];
    for (int code : {262, 263, 275, 277, 9999}) {
        text[0] = '\0';
        platformSoundErrorText(code, text, sizeof text);
        EXPECT_GT(strlen(text), 5u) << code;
    }
}

TEST_F(SoundPlayback, GameThreadsMayPlayAndCloseAtOnce) {
    std::vector<std::thread> threads;
    for (const char* name : {"low.wav", "high.wav", "short.wav", "short.wav"})
        threads.emplace_back([name] {
            for (int i = 0; i < 25; ++i) {
                playSound(name, i % 2);
                closeSound(name);
            }
        });
    for (std::thread& thread : threads) thread.join();
    sleepMs(150);
    EXPECT_EQ(peak(listen(200)), 0);  // every sound ended with a close
    EXPECT_EQ(closeSound("low.wav"), 263);
}

// The level of a frequency in the left channel of 44.1 kHz stereo samples.
double leftLevel(const std::vector<int16_t>& stereo, double frequency) {
    const double coefficient = 2 * std::cos(2 * M_PI * frequency / 44100);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < stereo.size(); i += 2) {
        const double s0 = stereo[i] + coefficient * s1 - s2;
        s2 = s1, s1 = s0;
    }
    return 2 * std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / (stereo.size() / 2);
}

TEST(SoundDecoding, WavInEveryEncodingRateAndChannelCountAndMp3Play) {
    const std::string dir = makeSoundsFolder() + "/Sounds/";
    struct Variant {
        const char* name;
        int format, rate, channels;
    };
    const int wav = SF_FORMAT_WAV, mp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    const Variant variants[] = {
        {"8-bit", wav | SF_FORMAT_PCM_U8, 22050, 1},     {"16-bit", wav | SF_FORMAT_PCM_16, 44100, 2},
        {"24-bit", wav | SF_FORMAT_PCM_24, 48000, 2},    {"32-bit", wav | SF_FORMAT_PCM_32, 44100, 1},
        {"float", wav | SF_FORMAT_FLOAT, 44100, 2},      {"double", wav | SF_FORMAT_DOUBLE, 32000, 1},
        {"IMA ADPCM", wav | SF_FORMAT_IMA_ADPCM, 22050, 1}, {"MS ADPCM", wav | SF_FORMAT_MS_ADPCM, 11025, 2},
        {"A-law", wav | SF_FORMAT_ALAW, 8000, 1},        {"u-law", wav | SF_FORMAT_ULAW, 8000, 1},
        {"GSM", wav | SF_FORMAT_GSM610, 8000, 1},        {"96 kHz", wav | SF_FORMAT_PCM_24, 96000, 2},
        {"8 channels", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 48000, 8},
        {"mp3", mp3, 44100, 2},                          {"mp3 mono", mp3, 22050, 1},
    };
    for (const Variant& v : variants) {
        const std::string path = dir + v.name + ((v.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG ? ".mp3" : ".wav");
        ASSERT_TRUE(writeToneFile(path, v.format, v.rate, v.channels, 440, 500)) << v.name << ": " << sf_strerror(nullptr);
        std::vector<int16_t> samples;
        ASSERT_TRUE(decodeSoundForTest(path.c_str(), 300, &samples)) << v.name;
        EXPECT_GT(leftLevel(samples, 440), 3000) << v.name;
    }
}

TEST(SoundDecoding, ImpossibleHeadersAndFilesWithoutSoundAreRefusedAndNoLibraryPrints) {
    const std::string dir = makeSoundsFolder() + "/Sounds/";
    ASSERT_TRUE(writeToneFile(dir + "whole.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 22050, 1, 440, 500));
    const std::string mp3 = readBytes(dir + "whole.mp3"), data(179000, 'x');
    const std::pair<std::string, std::string> refused[] = {
        {"1 Hz.wav", wavBytes(1, 1, 16, data)},
        {"999 Hz.wav", wavBytes(999, 1, 16, data)},
        {"384001 Hz.wav", wavBytes(384001, 1, 16, data)},
        {"16 MHz.wav", wavBytes(16000000, 1, 16, data)},
        {"9 channels.wav", wavBytes(22050, 9, 16, data)},
        {"header only.wav", wavBytes(22050, 1, 16, "")},
        {"not a sound.mp3", std::string(4000, 'x')},
        {"tag only.mp3", "ID3" + std::string(20, '\0')},
    };
    const std::pair<std::string, std::string> played[] = {
        {"1 kHz.wav", wavBytes(1000, 1, 16, data)},
        {"384 kHz.wav", wavBytes(384000, 8, 16, data)},
        {"cut.mp3", mp3.substr(0, mp3.size() / 2)},
    };
    const std::string printed = captureConsole([&] {
        for (const auto& [name, bytes] : refused) {
            writeBytes(dir + name, bytes);
            std::vector<int16_t> samples;
            EXPECT_FALSE(decodeSoundForTest((dir + name).c_str(), 1000, &samples)) << name;
        }
        for (const auto& [name, bytes] : played) {
            writeBytes(dir + name, bytes);
            std::vector<int16_t> samples;
            EXPECT_TRUE(decodeSoundForTest((dir + name).c_str(), 1000, &samples)) << name;
        }
        // Damaged files of every length: decoders have things to say about them.
        for (int cut = 0; cut < 600; cut += 7) {
            writeBytes(dir + "cut.mp3", mp3.substr(0, cut));
            std::vector<int16_t> samples;
            decodeSoundForTest((dir + "cut.mp3").c_str(), 100, &samples);
        }
    });
    EXPECT_EQ(printed, "");
}

TEST(SoundDeviceDeathTest, MachineWithoutAudioFallsBackToSilenceWithOneWarning) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, device not yet opened
    const std::string dir = makeSoundsFolder();
    writeToneWav(dir + "/Sounds/a.wav", 440, 100);
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no such driver", 1);
            setResourcesDir(dir.c_str());
            std::string printed = captureStdout([] {
                playSound("a.wav", 1);
                playSound("a.wav", 0);
            });
            const std::string warning = std::string(kMsgSoundNoDevice).substr(0, 20);
            size_t count = 0;
            for (size_t at = printed.find(warning); at != std::string::npos; at = printed.find(warning, at + 1))
                ++count;
            fprintf(stderr, "driver=%s warnings=%zu", SDL_GetCurrentAudioDriver(), count);
            exit(0);
        },
        ::testing::ExitedWithCode(0), "driver=dummy warnings=1");
}

TEST(SoundDeviceDeathTest, OpeningTheDeviceLeavesTerminationSignalsAlone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string dir = makeSoundsFolder();
    writeToneWav(dir + "/Sounds/a.wav", 440, 100);
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setResourcesDir(dir.c_str());
            playSound("a.wav", 1);
            raise(SIGTERM);  // Ctrl+C or a kill must still end the game
            sleepMs(1000);
            exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

}  // namespace
