#include "core/diagnostics.h"

#include <cstdio>
#include <cstring>

#include "core/messages.h"
#include "core/process.h"
#include "platform/platform.h"
#include "platform/seam.h"

namespace {
constexpr size_t kWarningBufferSize = 1024;
}  // namespace

void formatMessage(char* buffer, size_t size, const char* format, va_list arguments) {
    memset(buffer, 0, size);
    vsnprintf(buffer, size, format ? format : "", arguments);
}

void printWarning(const char* format, ...) {
    char message[kWarningBufferSize];
    va_list arguments;
    va_start(arguments, format);
    formatMessage(message, sizeof message, format, arguments);
    va_end(arguments);
    platformWarningLine(message);
    platformDebugOutput(message);
}

void fatalError(const char* format, ...) {
    char message[kFatalBufferSize];
    va_list arguments;
    va_start(arguments, format);
    formatMessage(message, sizeof message, format, arguments);
    va_end(arguments);
    // On the console before the box, so the message survives a box that
    // cannot be shown.
    platformMessageLine(message);
    platformDebugOutput(message);
    showMessageBox(message, kMsgFatalCaption, PLATFORM_BOX_ERROR, false);
    endProcess(-1);
}
