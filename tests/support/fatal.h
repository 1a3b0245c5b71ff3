// Death tests of fatal messages: the message box text is copied to standard
// error, where EXPECT_EXIT looks, and matched exactly.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/seam.h"

inline int fatalBoxToStderr(const char* text, const char*, int, bool) {
    fprintf(stderr, "<box>%s</box>\n", text);
    return PLATFORM_BOX_IDOK;
}

// Call first thing in the dying statement.
inline void reportFatalBoxes() { platformSetMessageBoxHook(fatalBoxToStderr); }

// A pattern that matches exactly the box that shows message.
inline std::string boxShowing(const std::string& message) {
    std::string pattern = "<box>";
    for (char c : message) {
        if (c && strchr(".[]{}()\\*+?^$|", c)) pattern += '\\';
        pattern += c;
    }
    return pattern + "</box>";
}
