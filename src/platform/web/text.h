// The character split of game strings in the browser. A game is written in
// UTF-8 or in code page 936 (GBK, sources saved on Windows): the first game
// string valid in only one of them settles it, VINDLE_ENCODING=gbk or utf-8
// forces it, and a string valid in both is read as UTF-8 until then.
#pragma once

#include <string>

enum class GameEncoding { unknown, utf8, gbk };

// Looks at a string the game handed the engine; the first one valid in only
// one encoding settles the game's.
void noteGameString(const char* text);
// The encoding a game string is read in: the forced one; else the only one it
// is valid in; else the game's; else UTF-8.
GameEncoding encodingOf(const char* text);

// A game's text, or an engine message holding game text, as UTF-8 for the
// page: valid UTF-8 stays; any other run of non-ASCII bytes is read as code
// page 936.
std::string gameTextAsUtf8(const char* text);
// A game string alone (a file name) as UTF-8, read in encodingOf's encoding.
std::string gameStringAsUtf8(const char* text);
