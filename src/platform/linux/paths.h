// Windows-like name resolution of the Linux backend, shared by its modules.
#pragma once

#include <string>

// Finds the file or folder that Windows would open for a game's path: '\'
// separators work and, when the exact path does not exist, each component is
// matched ignoring letter case. Returns false when nothing matches.
bool resolveGamePath(const char* path, std::string& real);
