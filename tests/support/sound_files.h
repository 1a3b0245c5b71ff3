// Sound fixtures made on the spot: a folder with a Sounds sub-folder and tiny
// 16-bit mono WAV files of sine tones.
#pragma once

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

// The process's resident memory, from /proc (-1 when it cannot be read, as on
// Windows).
inline long residentKilobytes() {
    FILE* status = fopen("/proc/self/status", "r");
    long kilobytes = -1;
    char line[256];
    while (status && fgets(line, sizeof line, status))
        if (sscanf(line, "VmRSS: %ld", &kilobytes) == 1) break;
    if (status) fclose(status);
    return kilobytes;
}
