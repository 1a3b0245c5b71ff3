// Windows backend, text: game strings are in the ANSI code page (936),
// split into characters and decoded by the system.
//   implemented: every function of the section.
//   differs from Windows: nothing.
#include <windows.h>

#include <string>

#include "platform/platform.h"

std::u32string platformSplitGameString(const char* text) {
    std::u32string characters;
    if (!text) return characters;
    for (const char* p = text; *p;) {
        // A lead byte and the byte after it are one character; a lead byte
        // right before the end is one on its own.
        const int length = IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] ? 2 : 1;
        wchar_t unit = 0;
        if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, p, length, &unit, 1) != 1) unit = 0xFFFD;
        characters.push_back(static_cast<char32_t>(unit));
        p += length;
    }
    return characters;
}

// The code page is fixed at 936: there is nothing to settle.
void platformNoteGameString(const char*) {}

// The ANSI code page's lead bytes, as IsDBCSLeadByte reports them: 0x81 to
// 0xFE in code page 936 (and 949, 950); none in single-byte code pages.
bool platformDoubleByteString(const char*) { return IsDBCSLeadByte(0x81) && IsDBCSLeadByte(0xFE); }
