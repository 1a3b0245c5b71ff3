// Linux glyphs: a bold CJK face found through fontconfig, rasterised by
// FreeType into 1-bit bitmaps and drawn with glBitmap, so they take the raster
// colour and advance the raster position as the Windows glyph lists do.
#include "platform/posix/glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SYNTHESIS_H

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/charset.h"

namespace {

// Rows bottom-up as glBitmap reads them, each padded to 4 bytes to suit the
// default unpack alignment, which the frame never changes.
struct Glyph {
    int width = 0, rows = 0;
    float xorig = 0, yorig = 0, advance = 0;
    std::vector<unsigned char> bits;
};

// A glyph cache without a bound would grow with every size a game animates
// through; past this many bytes it starts afresh.
constexpr size_t kCacheByteLimit = 64u << 20;

class GlyphRenderer {
public:
    void draw(const std::u32string& characters, int cellHeight) {
        std::lock_guard<std::mutex> guard(lock_);
        if (!openFace()) return;
        const int size = rasterGlyphSize(cellHeight);
        for (char32_t cp : characters) {
            const Glyph& glyph = glyphFor(size, cp);
            glBitmap(glyph.width, glyph.rows, glyph.xorig, glyph.yorig, glyph.advance, 0.0f,
                     glyph.bits.empty() ? nullptr : glyph.bits.data());
        }
    }

    void setCacheEnabled(bool enabled) {
        std::lock_guard<std::mutex> guard(lock_);
        cacheEnabled_ = enabled;
        cache_.clear();
        cacheBytes_ = 0;
    }

    int cachedCount() {
        std::lock_guard<std::mutex> guard(lock_);
        return static_cast<int>(cache_.size());
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

    const Glyph& glyphFor(int size, char32_t cp) {
        if (!cacheEnabled_) {
            rasterise(size, cp, scratch_);
            return scratch_;
        }
        const uint64_t key = static_cast<uint64_t>(size) << 32 | cp;
        auto found = cache_.find(key);
        if (found != cache_.end()) return found->second;
        Glyph glyph;
        rasterise(size, cp, glyph);
        if (cacheBytes_ + glyph.bits.size() > kCacheByteLimit) {
            cache_.clear();
            cacheBytes_ = 0;
        }
        cacheBytes_ += glyph.bits.size() + sizeof(Glyph);
        return cache_.emplace(key, std::move(glyph)).first->second;
    }

    void rasterise(int size, char32_t cp, Glyph& glyph) {
        glyph = Glyph();
        if (size != currentSize_) {
            if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size)) != 0) return;
            currentSize_ = size;
        }
        // Index 0 is the face's own missing-glyph box.
        const FT_UInt index = FT_Get_Char_Index(face_, cp);
        if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO) != 0) return;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return;
        glyph.advance = static_cast<float>((slot->advance.x + 32) >> 6);
        copyBitmap(slot, glyph);
    }

    void copyBitmap(FT_GlyphSlot slot, Glyph& glyph) {
        const FT_Bitmap* source = &slot->bitmap;
        FT_Bitmap converted;
        FT_Bitmap_Init(&converted);
        if (source->pixel_mode != FT_PIXEL_MODE_MONO && source->pixel_mode != FT_PIXEL_MODE_GRAY) {
            if (FT_Bitmap_Convert(library_, source, &converted, 1) != 0) return;
            source = &converted;
        }
        const int width = static_cast<int>(source->width), rows = static_cast<int>(source->rows);
        if (width > 0 && rows > 0) {
            const size_t stride = ((static_cast<size_t>(width) + 7) / 8 + 3) & ~static_cast<size_t>(3);
            glyph.bits.assign(stride * static_cast<size_t>(rows), 0);
            const int pitch = source->pitch;
            for (int top = 0; top < rows; ++top) {
                // A negative pitch means the rows are stored bottom-up.
                const unsigned char* in =
                    source->buffer + (pitch >= 0 ? top * pitch : (rows - 1 - top) * -pitch);
                unsigned char* out = &glyph.bits[stride * static_cast<size_t>(rows - 1 - top)];
                for (int x = 0; x < width; ++x) {
                    const bool ink = source->pixel_mode == FT_PIXEL_MODE_MONO
                                         ? (in[x >> 3] & (0x80 >> (x & 7))) != 0
                                         : in[x] * 2 >= (source->num_grays ? source->num_grays : 256);
                    if (ink) out[x >> 3] |= static_cast<unsigned char>(0x80 >> (x & 7));
                }
            }
            glyph.width = width;
            glyph.rows = rows;
            // The bitmap's lower-left corner goes to pen + (left, top - rows).
            glyph.xorig = static_cast<float>(-slot->bitmap_left);
            glyph.yorig = static_cast<float>(rows - slot->bitmap_top);
        }
        FT_Bitmap_Done(library_, &converted);
    }

    std::mutex lock_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    bool openFailed_ = false;
    bool embolden_ = false;
    int currentSize_ = 0;
    bool cacheEnabled_ = true;
    std::unordered_map<uint64_t, Glyph> cache_;
    size_t cacheBytes_ = 0;
    Glyph scratch_;
};

// Never destroyed: the window thread may still draw while the process exits.
GlyphRenderer& renderer() {
    static GlyphRenderer* const instance = new GlyphRenderer;
    return *instance;
}

}  // namespace

int rasterGlyphSize(int cellHeight) {
    if (cellHeight == 0) return kDefaultGlyphSize;
    const long long magnitude = cellHeight < 0 ? -static_cast<long long>(cellHeight) : cellHeight;
    return magnitude > kMaxGlyphSize ? kMaxGlyphSize : static_cast<int>(magnitude);
}

void setGlyphCacheEnabled(bool enabled) { renderer().setCacheEnabled(enabled); }
int cachedGlyphCount() { return renderer().cachedCount(); }

void platformDrawGlyphString(const char* text, int cellHeight) {
    const std::u32string characters = splitGameString(text);
    if (characters.empty()) return;
    renderer().draw(characters, cellHeight);
}
