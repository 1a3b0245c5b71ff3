// Web backend: message boxes are the browser's alert and confirm, shown by
// its own thread however the game asks (web/dialogs.js). They are modal for
// the whole page: it takes no input and draws nothing until answered.
#include <string>

#include "platform/platform.h"
#include "platform/web/text.h"

extern "C" int vindle_message_box(const char* text, int question);

int platformMessageBox(const char* text, const char* caption, int style, bool) {
    // The browser titles its boxes itself: the caption is the first line.
    std::string message = gameTextAsUtf8(caption ? caption : "");
    if (!message.empty()) message += "\n\n";
    message += gameTextAsUtf8(text ? text : "");
    const bool question = style == PLATFORM_BOX_YESNO_QUESTION;
    const int answer = vindle_message_box(message.c_str(), question ? 1 : 0);
    if (answer < 0) return PLATFORM_BOX_FAILED;
    if (question) return answer ? PLATFORM_BOX_IDYES : PLATFORM_BOX_IDNO;
    return PLATFORM_BOX_IDOK;
}
