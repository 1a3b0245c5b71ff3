// Windows backend, glyphs from the bold GDI font as 1-bit outlines
// (GGO_BITMAP, the bitmaps wglUseFontBitmapsW would build).
//   implemented: platformRasteriseGlyph.
//   differs from Windows: nothing.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/platform.h"

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
