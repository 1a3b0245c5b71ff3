// Linux backend, glyphs: a bold CJK face found through fontconfig, rasterised
// by FreeType into 1-bit bitmaps laid out as the Windows glyph outlines give
// them.
//   implemented: platformRasteriseGlyph.
//   differs from Windows: fontconfig's match for SimSun in place of the GDI
//     font; sizes above kMaxGlyphSize are drawn at that size.
#include "platform/linux/glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SYNTHESIS_H

#include <mutex>
#include <string>

#include "platform/linux/text.h"
#include "platform/platform.h"

namespace {

class Rasteriser {
public:
    bool rasterise(char32_t cp, int cellHeight, PlatformGlyph& glyph) {
        std::lock_guard<std::mutex> guard(lock_);
        glyph = PlatformGlyph();
        if (!openFace()) return false;
        const int size = rasterGlyphSize(cellHeight);
        if (size != currentSize_) {
            if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size)) != 0) return false;
            currentSize_ = size;
        }
        // Index 0 is the face's own missing-glyph box.
        const FT_UInt index = FT_Get_Char_Index(face_, cp);
        if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO) != 0) return true;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return true;
        const long advance = (slot->advance.x + 32) >> 6;
        glyph.advance = advance > 0 ? static_cast<int>(advance) : 0;
        copyBitmap(slot, glyph);
        return true;
    }

private:
    bool openFace() {
        if (face_) return true;
        if (openFailed_) return false;
        openFailed_ = true;
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("SimSun:lang=zh-cn:weight=bold"));
        if (!pattern) return false;
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        if (!match) return false;
        FcChar8* file = nullptr;
        int index = 0;
        FcBool embolden = FcFalse;
        FcPatternGetString(match, FC_FILE, 0, &file);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        // Fontconfig decides: a real bold face needs nothing, a lighter face
        // comes with FC_EMBOLDEN set.
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        const std::string path = file ? reinterpret_cast<const char*>(file) : "";
        FcPatternDestroy(match);
        if (path.empty() || FT_Init_FreeType(&library_) != 0) return false;
        if (FT_New_Face(library_, path.c_str(), index, &face_) != 0) {
            face_ = nullptr;
            return false;
        }
        embolden_ = embolden == FcTrue;
        openFailed_ = false;
        return true;
    }

    void copyBitmap(FT_GlyphSlot slot, PlatformGlyph& glyph) {
        const FT_Bitmap* source = &slot->bitmap;
        FT_Bitmap converted;
        FT_Bitmap_Init(&converted);
        if (source->pixel_mode != FT_PIXEL_MODE_MONO && source->pixel_mode != FT_PIXEL_MODE_GRAY) {
            if (FT_Bitmap_Convert(library_, source, &converted, 1) != 0) return;
            source = &converted;
        }
        const int width = static_cast<int>(source->width), rows = static_cast<int>(source->rows);
        if (width > 0 && rows > 0) {
            const int stride = (width + 31) / 32 * 4;
            glyph.bits.assign(static_cast<size_t>(stride) * static_cast<size_t>(rows), 0);
            const int pitch = source->pitch;
            for (int top = 0; top < rows; ++top) {
                // A negative pitch means FreeType stored the rows bottom-up.
                const unsigned char* in = source->buffer + (pitch >= 0 ? top * pitch : (rows - 1 - top) * -pitch);
                unsigned char* out = &glyph.bits[static_cast<size_t>(stride) * static_cast<size_t>(rows - 1 - top)];
                for (int x = 0; x < width; ++x) {
                    const bool ink = source->pixel_mode == FT_PIXEL_MODE_MONO
                                         ? (in[x >> 3] & (0x80 >> (x & 7))) != 0
                                         : in[x] * 2 >= (source->num_grays ? source->num_grays : 256);
                    if (ink) out[x >> 3] |= static_cast<unsigned char>(0x80 >> (x & 7));
                }
            }
            glyph.width = width;
            glyph.height = rows;
            glyph.stride = stride;
            glyph.left = slot->bitmap_left;
            glyph.bottom = slot->bitmap_top - rows;
        }
        FT_Bitmap_Done(library_, &converted);
    }

    std::mutex lock_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    bool openFailed_ = false;
    bool embolden_ = false;
    int currentSize_ = 0;
};

// Never destroyed: the window thread may still draw while the process exits.
Rasteriser& rasteriser() {
    static Rasteriser* const instance = new Rasteriser;
    return *instance;
}

}  // namespace

int rasterGlyphSize(int cellHeight) {
    if (cellHeight == 0) return kDefaultGlyphSize;
    const long long magnitude = cellHeight < 0 ? -static_cast<long long>(cellHeight) : cellHeight;
    return magnitude > kMaxGlyphSize ? kMaxGlyphSize : static_cast<int>(magnitude);
}

bool platformRasteriseGlyph(char32_t codePoint, int cellHeight, PlatformGlyph* glyph) {
    return rasteriser().rasterise(codePoint, cellHeight, *glyph);
}
