// Captures what a piece of code writes to standard output.
#pragma once

#include <functional>
#include <string>

// Runs body with stdout redirected to a temporary file and returns the bytes
// written.
std::string captureStdout(const std::function<void()>& body);
