// Window settings and the resources directory, shared by the game thread (which
// writes them) and the window thread (which reads them every frame).
#pragma once

#include <atomic>
#include <cstddef>

constexpr size_t kPathBufferSize = 32000;

struct WindowSettings {
    std::atomic<int> gameWidth{800};
    std::atomic<int> gameHeight{600};
    std::atomic<float> bgRed{1.0f}, bgGreen{1.0f}, bgBlue{1.0f};
    std::atomic<int> viewportX{0}, viewportY{0};
};
extern WindowSettings settings;

// Writes the resources directory into dest (kPathBufferSize bytes): the one
// the game set, or else the executable's directory.
void resolveResourcesDir(char* dest);
// The executable's directory, ending in a separator, into dest (kPathBufferSize).
void getExeDirectory(char* dest);
// Builds "<resources dir><sep><folder><sep><name>" into dest (kPathBufferSize).
// Returns false when the path does not fit; dest then holds as much of it as
// fits, for the message that reports it.
bool buildResourcePath(char* dest, const char* folder, const char* name);
// Joins a directory and a name with one separator into dest of the given size;
// an empty directory gives the name alone, relative to the working directory.
// Returns false when the result does not fit; dest then holds it cut to fit.
bool joinPath(char* dest, size_t size, const char* directory, const char* name);
