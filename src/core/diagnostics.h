// The engine's two ways of reporting a fault: a yellow warning line, and a fatal
// message box that ends the process.
#pragma once

#include <cstdarg>
#include <cstddef>

constexpr size_t kFatalBufferSize = 10240;

// Formats into a zero-filled buffer of the given size; longer text is cut at
// size - 1 bytes and always terminated.
void formatMessage(char* buffer, size_t size, const char* format, va_list arguments);

// Prints the formatted message as one yellow console line and returns.
void printWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Prints the message, shows it in a message box and ends the process with -1.
[[noreturn]] void fatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));
