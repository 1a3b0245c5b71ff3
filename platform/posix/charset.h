// The character split of game strings on Linux: a string is UTF-8 when its
// bytes are valid UTF-8, otherwise code page 936 (GBK), so sources saved on
// Windows still draw.
#pragma once

#include <string>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// One code point per character of text, never one per byte. In code page 936
// a lead byte (0x81..0xFE) and the byte after it make one character, and a
// lead byte right before the end counts as one character; a character that
// does not decode becomes U+FFFD. A null text counts as empty.
std::u32string splitGameString(const char* text);
