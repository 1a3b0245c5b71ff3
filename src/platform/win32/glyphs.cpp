// Windows backend: game strings split in the ANSI code page, and text glyphs
// from the bold GDI font as 1-bit outlines (GGO_BITMAP, the bitmaps
// wglUseFontBitmapsW would build).
#include <windows.h>

#include <cstring>
#include <vector>

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

bool platformRasteriseGlyph(char32_t codePoint, int cellHeight, PlatformGlyph* glyph) {
    *glyph = PlatformGlyph();
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    HFONT font = CreateFontA(cellHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, CHINESEBIG5_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "宋体");
    if (!font) {
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const UINT character = codePoint <= 0xFFFF ? static_cast<UINT>(codePoint) : 0xFFFD;
    GLYPHMETRICS metrics = {};
    const DWORD size = GetGlyphOutlineW(dc, character, GGO_BITMAP, &metrics, 0, nullptr, &identity);
    glyph->advance = metrics.gmCellIncX > 0 ? metrics.gmCellIncX : 0;
    if (size != GDI_ERROR && size > 0) {
        std::vector<unsigned char> topDown(size);
        if (GetGlyphOutlineW(dc, character, GGO_BITMAP, &metrics, size, topDown.data(), &identity) != GDI_ERROR) {
            // GDI's rows are top row first, padded to 4 bytes, leftmost pixel
            // in the high bit: only the row order differs.
            const int width = static_cast<int>(metrics.gmBlackBoxX), height = static_cast<int>(metrics.gmBlackBoxY);
            const int stride = (width + 31) / 32 * 4;
            if (width > 0 && height > 0 && static_cast<size_t>(stride) * height <= topDown.size()) {
                glyph->width = width;
                glyph->height = height;
                glyph->stride = stride;
                glyph->bits.resize(static_cast<size_t>(stride) * height);
                for (int row = 0; row < height; ++row)
                    memcpy(&glyph->bits[static_cast<size_t>(row) * stride],
                           &topDown[static_cast<size_t>(height - 1 - row) * stride], stride);
                glyph->left = metrics.gmptGlyphOrigin.x;
                glyph->bottom = metrics.gmptGlyphOrigin.y - height;
            }
        }
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    return true;
}

// No way of its own: the portable code shows the frame with one glDrawPixels.
bool platformPresentFrame(const unsigned char*, int, int, int) { return false; }

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
