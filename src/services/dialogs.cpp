// Message boxes for the game: alert and confirm, owned by the game window.
#include <cstdarg>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/process.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "vindle.h"

namespace {

constexpr size_t kDialogBufferSize = 1024;

int showMessage(int style, const char* format, va_list arguments) {
    char message[kDialogBufferSize];
    formatMessage(message, sizeof message, format, arguments);
    platformNoteGameString(message);
    return showMessageBox(message, kMsgDialogCaption, style, true);
}

}  // namespace

extern "C" {

VINDLE_API int alert(const char* format, ...) {
    noteApiCall();
    va_list arguments;
    va_start(arguments, format);
    int result = showMessage(PLATFORM_BOX_OK, format, arguments);
    va_end(arguments);
    // Some systems report Escape on a box with only OK as Cancel: any answer is 1.
    return result != 0 ? 1 : 0;
}

VINDLE_API int confirm(const char* format, ...) {
    noteApiCall();
    va_list arguments;
    va_start(arguments, format);
    int result = showMessage(PLATFORM_BOX_YESNO_QUESTION, format, arguments);
    va_end(arguments);
    return result == PLATFORM_BOX_IDYES ? 1 : 0;
}

}  // extern "C"
