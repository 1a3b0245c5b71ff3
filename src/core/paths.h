// Paths of the game's files: the resources directory, the joining of names
// onto it, and the pieces of a name as Windows' _splitpath finds them.
#pragma once

#include <cstddef>
#include <string>

// The longest path the engine works with is one byte shorter: a longer one
// names no file the game could have.
constexpr size_t kPathBufferSize = 32000;

// The executable's directory, ending in a separator ("" when it cannot be
// read, after a warning).
std::string getExeDirectory();
// Joins a directory and a name with one separator; an empty directory gives
// the name alone, relative to the working directory.
std::string joinPath(const std::string& directory, const char* name);
// Whether path is shorter than kPathBufferSize; when it is not, it is cut to
// kPathBufferSize - 1 bytes, as the message that reports it shows it.
bool fitsPathBuffer(std::string& path);
// Builds "<resources dir><sep><folder><sep><name>" into dest, the resources
// directory being the one the game set, or else the executable's directory.
// Returns fitsPathBuffer(dest).
bool buildResourcePath(std::string& dest, const char* folder, const char* name);

// The extension of the last component of path, dot included ("" when none),
// and that component without its extension. A drive ("C:") and folders, with
// '/' or '\\' separators, are skipped; a '\\' that is the second byte of a
// double-byte character separates nothing.
std::string fileExtension(const char* path);
std::string fileBaseName(const char* path);
// Lower-cases the letters A to Z of a game string in place, leaving both bytes
// of every double-byte character of the game's encoding unchanged.
void lowerCaseGameString(char* text);
