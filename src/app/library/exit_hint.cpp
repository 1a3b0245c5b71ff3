// Part of the shared library only, not of the objects the unit tests link: a
// game program that ends without having called any engine function (zqInit
// forgotten in main) gets one line saying why no window opened. A program
// that loads the library without being linked to it (a script through its
// foreign-function module, a tool listing the symbols) is no game, and one
// that called a function meant it.
#include "core/messages.h"
#include "core/process.h"
#include "platform/platform.h"

namespace {

struct ExitHint {
    ~ExitHint() {
        if (!apiCalled() && platformProgramLinksEngine()) platformWarningLine(kMsgZqInitNeverCalled);
    }
} exitHint;

}  // namespace
