// Sound fixtures made on the spot: a folder with a Sounds sub-folder and tiny
// WAV files of sine tones, 16-bit mono or in any encoding libsndfile writes.
#pragma once

#if __has_include(<sndfile.h>)
#include <sndfile.h>
#endif

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/files.h"

// A new folder "<tmp>/vindle sounds XXXXXX/Sounds" (a blank in the path on
// purpose); returns the resources directory above Sounds.
inline std::string makeSoundsFolder() {
    std::string dir = makeTempFolder("vindle sounds ");
    if (!dir.empty()) std::filesystem::create_directory(dir + "/Sounds");
    return dir;
}

// A tone of the given frequency for toneMs, then silenceMs of silence.
inline void writeToneWav(const std::string& path, double frequency, int toneMs, int silenceMs = 0) {
    const uint32_t rate = 22050;
    const uint32_t toneSamples = rate * toneMs / 1000, samples = toneSamples + rate * silenceMs / 1000;
    std::string bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    bytes += "RIFF";
    put(36 + samples * 2, 4);
    bytes += "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    bytes += "data";
    put(samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        double value = i < toneSamples ? 12000 * std::sin(2 * 3.14159265358979323846 * frequency * i / rate) : 0;
        put(static_cast<uint16_t>(static_cast<int16_t>(value)), 2);
    }
    writeBytes(path, bytes);
}

#if __has_include(<sndfile.h>)
// A tone in every channel, written by libsndfile in format (SF_FORMAT_*, major
// type and encoding); false when libsndfile refuses the combination.
inline bool writeToneFile(const std::string& path, int format, int rate, int channels, double frequency, int ms) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const sf_count_t frames = static_cast<sf_count_t>(rate) * ms / 1000;
    std::vector<float> samples(static_cast<size_t>(frames) * channels);
    for (sf_count_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[static_cast<size_t>(i) * channels + c] = 0.4f * std::sin(2 * M_PI * frequency * i / rate);
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}
#endif

// The bytes of a PCM WAV whose header says what it likes; data is what
// follows it.
inline std::string wavBytes(uint32_t rate, uint16_t channels, uint16_t bits, const std::string& data) {
    std::string bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    const uint16_t frameBytes = static_cast<uint16_t>(channels * bits / 8);
    bytes += "RIFF";
    put(static_cast<uint32_t>(36 + data.size()), 4);
    bytes += "WAVEfmt ";
    put(16, 4), put(1, 2), put(channels, 2), put(rate, 4), put(rate * frameBytes, 4), put(frameBytes, 2), put(bits, 2);
    bytes += "data";
    put(static_cast<uint32_t>(data.size()), 4);
    return bytes + data;
}

// A memory figure of the process from /proc/self/status, in kB ("VmRSS" now,
// "VmHWM" the peak); -1 when it cannot be read, as on Windows.
inline long processKilobytes(const char* field) {
    FILE* status = fopen("/proc/self/status", "r");
    long kilobytes = -1;
    const std::string format = std::string(field) + ": %ld";
    char line[256];
    while (status && fgets(line, sizeof line, status))
        if (sscanf(line, format.c_str(), &kilobytes) == 1) break;
    if (status) fclose(status);
    return kilobytes;
}

inline long residentKilobytes() { return processKilobytes("VmRSS"); }
