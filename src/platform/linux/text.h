// The character split of game strings on Linux. A game is written in one
// encoding, UTF-8 or code page 936 (GBK, sources saved on Windows): the first
// game string valid in only one of them settles it, VINDLE_ENCODING=gbk or
// utf-8 forces it, and before that a string valid in both is read the way
// that looks more like Chinese text.
#pragma once

#include <cstddef>
#include <string>

constexpr char32_t kReplacementCharacter = 0xFFFD;

enum class GameEncoding { unknown, utf8, gbk };

// The game's encoding: forced, settled, or unknown as yet.
GameEncoding gameEncoding();
// Looks at a string the game handed the engine (a text, title, box text or
// file name); the first one valid in only one encoding settles the game's.
void noteGameString(const char* text);
// Forgets what was settled and reads VINDLE_ENCODING again (for tests).
void resetGameEncoding();
// The encoding a game string is read in: the forced one; else the only one it
// is valid in; else the game's; else the more plausible reading.
GameEncoding encodingOf(const char* text);

// One code point per character of text, never one per byte, in the encoding
// encodingOf gives. In code page 936
// a lead byte (0x81..0xFE) and the byte after it make one character, and a
// lead byte right before the end counts as one character; a character that
// does not decode becomes U+FFFD. A null text counts as empty.
std::u32string splitGameString(const char* text);

// The code point of one code page 936 character of one or two bytes, or
// U+FFFD when the bytes are not one.
char32_t decodeCp936Character(const unsigned char* bytes, size_t length);

// A game's text, or an engine message holding game text, as UTF-8 for the
// window system and the console. Text valid only as UTF-8 is kept, as is any
// valid UTF-8 in a UTF-8 game. Any other text is read piece by piece between
// ASCII bytes: a piece of valid UTF-8 (the engine's own messages) stays
// unless it is valid GBK too and reads more like Chinese so (the game's
// encoding deciding a tie); every other piece is read as code page 936;
// bytes that are neither become '?'. A UTF-8
// character cut off at the very end (by a full message buffer) is dropped.
std::string gameTextAsUtf8(const char* text);

// A game string alone (a file name, say) as UTF-8, read in encodingOf's
// encoding; characters that do not decode become U+FFFD.
std::string gameStringAsUtf8(const char* text);
