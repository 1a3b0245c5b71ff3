// Windows backend: text glyphs from a GDI font, drawn as OpenGL bitmaps.
#include <windows.h>
#include <GL/gl.h>

#include <vector>

#include "platform/platform.h"

void platformDrawGlyphString(const char* text, int cellHeight) {
    if (!text) return;
    HFONT font = CreateFontA(cellHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, CHINESEBIG5_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "宋体");
    HDC dc = wglGetCurrentDC();
    HGDIOBJ previous = SelectObject(dc, font);

    // Characters of the ANSI code page: a lead byte and the byte after it are
    // one, and a lead byte right before the end is one on its own.
    int count = 0;
    for (const char* p = text; *p; ++p, ++count)
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) ++p;
    std::vector<wchar_t> units(count + 1);
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, units.data(), count + 1);
    units[count] = 0;

    GLuint list = glGenLists(1);
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    for (int i = 0; i < count; ++i) {
        // Wine builds no list for a glyph without ink, so a blank would not
        // move the pen; it only needs the advance.
        GLYPHMETRICS metrics = {};
        if (GetGlyphOutlineW(dc, units[i], GGO_BITMAP, &metrics, 0, nullptr, &identity) == 0) {
            glBitmap(0, 0, 0, 0, static_cast<GLfloat>(metrics.gmCellIncX), 0, nullptr);
            continue;
        }
        wglUseFontBitmapsW(dc, units[i], 1, list);
        glCallList(list);
    }
    glDeleteLists(list, 1);

    SelectObject(dc, previous);
    DeleteObject(font);
}

// The code page is fixed at 936: there is nothing to settle.
void platformNoteGameString(const char*) {}

void platformLowerCaseGameString(char* text) {
    if (!text) return;
    for (char* p = text; *p; ++p) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*p))) {
            if (!p[1]) break;
            ++p;  // both bytes of a double-byte character stay
        } else if (*p >= 'A' && *p <= 'Z') {
            *p = static_cast<char>(*p - 'A' + 'a');
        }
    }
}
