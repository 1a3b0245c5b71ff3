// Paths of the game's files: the resources directory and the joining of
// names onto it.
#pragma once

#include <cstddef>

constexpr size_t kPathBufferSize = 32000;

// The executable's directory, ending in a separator, into dest (kPathBufferSize).
void getExeDirectory(char* dest);
// Builds "<resources dir><sep><folder><sep><name>" into dest (kPathBufferSize),
// the resources directory being the one the game set, or else the
// executable's directory. Returns false when the path does not fit; dest then
// holds as much of it as fits, for the message that reports it.
bool buildResourcePath(char* dest, const char* folder, const char* name);
// Joins a directory and a name with one separator into dest of the given size;
// an empty directory gives the name alone, relative to the working directory.
// Returns false when the result does not fit; dest then holds it cut to fit.
bool joinPath(char* dest, size_t size, const char* directory, const char* name);
