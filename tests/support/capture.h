// Captures what a piece of code writes to standard output (and error).
#pragma once

#include <functional>
#include <string>

// Runs body with stdout redirected to a temporary file and returns the bytes
// written.
std::string captureStdout(const std::function<void()>& body);
// The same for standard output and standard error together.
std::string captureConsole(const std::function<void()>& body);
