// The character split of game strings on Linux: a string is UTF-8 when its
// bytes are valid UTF-8, otherwise code page 936 (GBK), so sources saved on
// Windows still draw.
#pragma once

#include <cstddef>
#include <string>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// One code point per character of text, never one per byte. In code page 936
// a lead byte (0x81..0xFE) and the byte after it make one character, and a
// lead byte right before the end counts as one character; a character that
// does not decode becomes U+FFFD. A null text counts as empty.
std::u32string splitGameString(const char* text);

// The code point of one code page 936 character of one or two bytes, or
// U+FFFD when the bytes are not one.
char32_t decodeCp936Character(const unsigned char* bytes, size_t length);

// A game's text, or an engine message holding game text, as UTF-8 for the
// window system. Text that is valid UTF-8 is kept. Any other text is read
// piece by piece between ASCII bytes: a piece of valid UTF-8 made of three-
// and four-byte characters (the engine's own messages) stays, every other
// piece is read as code page 936; bytes that are neither become '?'. A UTF-8
// character cut off at the very end (by a full message buffer) is dropped.
std::string gameTextAsUtf8(const char* text);
