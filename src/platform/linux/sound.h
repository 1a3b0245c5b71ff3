// The Linux sound backend's decoding, for tests and its fuzz target.
#pragma once

#include <cstdint>
#include <vector>

// Opens a file as a play would and decodes its first milliseconds into what a
// 44.1 kHz 16-bit stereo device would get (left and right samples in turn),
// without a device. False when a play would refuse the file.
bool decodeSoundForTest(const char* path, int milliseconds, std::vector<int16_t>* samples);
