// Part of the shared library only, not of the objects the unit tests link: a
// game program that ends without ever calling zqInit gets one line saying why
// no window opened.
#include "core/messages.h"
#include "core/process.h"
#include "platform/platform.h"

namespace {

struct ExitHint {
    ~ExitHint() {
        if (!zqInitCalled()) platformWarningLine(kMsgZqInitNeverCalled);
    }
} exitHint;

}  // namespace
