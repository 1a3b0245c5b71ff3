#include "scene/glyphs.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/seam.h"

namespace {

// A cache without a bound would grow with every size a game animates through;
// past this many bytes it starts afresh.
constexpr size_t kCacheByteLimit = 64u << 20;

struct GlyphCache {
    std::mutex lock;
    bool enabled = true;
    std::unordered_map<uint64_t, std::shared_ptr<const Glyph>> glyphs;
    size_t bytes = 0;
};

// Never destroyed: the window thread may still draw while the process exits.
GlyphCache& cache() {
    static GlyphCache* const instance = new GlyphCache;
    return *instance;
}

std::shared_ptr<const Glyph> rasterise(char32_t codePoint, int fontSize) {
    auto glyph = std::make_shared<Glyph>();
    rasteriseGlyph(codePoint, fontSize, glyph.get());
    return glyph;
}

uint64_t cacheKey(char32_t codePoint, int fontSize) {
    return static_cast<uint64_t>(static_cast<uint32_t>(fontSize)) << 32 | codePoint;
}

// The cached glyph, or null.
std::shared_ptr<const Glyph> cachedGlyph(uint64_t key) {
    GlyphCache& c = cache();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!c.enabled) return nullptr;
    auto found = c.glyphs.find(key);
    return found != c.glyphs.end() ? found->second : nullptr;
}

// Held by a frame while it rasterises: a thread laying out a long text lets
// it have the rasteriser between two glyphs rather than keep it for itself.
std::mutex& frameTurn() {
    static std::mutex* const turn = new std::mutex;  // never destroyed
    return *turn;
}

// Rasterises a glyph and keeps it, unless the cache is off. A frame makes
// room for it; a layout, which wants only its advance and extent, keeps it
// only where there is room, so a long text does not push out the glyphs
// that frames draw.
std::shared_ptr<const Glyph> rasteriseAndKeep(uint64_t key, char32_t codePoint, int fontSize, bool forFrame) {
    GlyphCache& c = cache();
    std::shared_ptr<const Glyph> glyph;
    if (forFrame) {
        std::lock_guard<std::mutex> turn(frameTurn());
        glyph = rasterise(codePoint, fontSize);
    } else {
        { std::lock_guard<std::mutex> wait(frameTurn()); }
        glyph = rasterise(codePoint, fontSize);
    }
    std::lock_guard<std::mutex> guard(c.lock);
    if (!c.enabled) return glyph;
    const size_t size = glyph->bits.size() + sizeof(Glyph);
    if (c.bytes + size > kCacheByteLimit) {
        if (!forFrame) return glyph;
        c.glyphs.clear();
        c.bytes = 0;
    }
    auto inserted = c.glyphs.emplace(key, glyph);
    if (inserted.second) c.bytes += size;
    return inserted.first->second;
}

// The frame's budget; read and written with the engine lock held.
using Clock = std::chrono::steady_clock;
Clock::duration frameGlyphTime = std::chrono::milliseconds(20);
Clock::duration spentThisFrame{};
bool rasterisedThisFrame = false, leftOutThisFrame = false;

}  // namespace

std::shared_ptr<const Glyph> glyphFor(char32_t codePoint, int fontSize) {
    const uint64_t key = cacheKey(codePoint, fontSize);
    if (std::shared_ptr<const Glyph> glyph = cachedGlyph(key)) return glyph;
    return rasteriseAndKeep(key, codePoint, fontSize, false);
}

void beginFrameGlyphs() {
    spentThisFrame = Clock::duration::zero();
    rasterisedThisFrame = leftOutThisFrame = false;
}

std::shared_ptr<const Glyph> frameGlyph(char32_t codePoint, int fontSize) {
    const uint64_t key = cacheKey(codePoint, fontSize);
    if (std::shared_ptr<const Glyph> glyph = cachedGlyph(key)) return glyph;
    if (rasterisedThisFrame && spentThisFrame >= frameGlyphTime) {
        leftOutThisFrame = true;
        return nullptr;
    }
    const Clock::time_point start = Clock::now();
    std::shared_ptr<const Glyph> glyph = rasteriseAndKeep(key, codePoint, fontSize, true);
    spentThisFrame += Clock::now() - start;
    rasterisedThisFrame = true;
    return glyph;
}

bool endFrameGlyphs() { return leftOutThisFrame; }

void setFrameGlyphTime(std::chrono::microseconds time) { frameGlyphTime = time; }

void setGlyphCacheEnabled(bool enabled) {
    GlyphCache& c = cache();
    std::lock_guard<std::mutex> guard(c.lock);
    c.enabled = enabled;
    c.glyphs.clear();
    c.bytes = 0;
}

int cachedGlyphCount() {
    GlyphCache& c = cache();
    std::lock_guard<std::mutex> guard(c.lock);
    return static_cast<int>(c.glyphs.size());
}

std::unique_ptr<TextLayout> layoutText(const char* text, int fontSize) {
    auto layout = std::make_unique<TextLayout>();
    layout->fontSize = fontSize;
    const std::u32string characters = platformSplitGameString(text);
    layout->glyphs.reserve(characters.size());
    // Most texts repeat few characters: one lookup per distinct character.
    std::unordered_map<char32_t, int> advances;
    bool inked = false;
    int64_t pen = 0;
    for (char32_t cp : characters) {
        auto known = advances.find(cp);
        if (known == advances.end()) {
            const std::shared_ptr<const Glyph> glyph = glyphFor(cp, fontSize);
            known = advances.emplace(cp, glyph->advance).first;
            if (glyph->width > 0 && glyph->height > 0) {
                if (!inked) {
                    layout->minLeft = glyph->left, layout->maxRight = glyph->left + glyph->width;
                    layout->minBottom = glyph->bottom, layout->maxTop = glyph->bottom + glyph->height;
                    inked = true;
                }
                layout->minLeft = std::min(layout->minLeft, glyph->left);
                layout->maxRight = std::max(layout->maxRight, glyph->left + glyph->width);
                layout->minBottom = std::min(layout->minBottom, glyph->bottom);
                layout->maxTop = std::max(layout->maxTop, glyph->bottom + glyph->height);
            }
        }
        layout->glyphs.push_back(PlacedGlyph{pen, cp});
        pen += known->second;
    }
    layout->advance = pen;
    return layout;
}

int64_t glyphAdvance(const TextLayout& layout, size_t i) {
    return (i + 1 < layout.glyphs.size() ? layout.glyphs[i + 1].pen : layout.advance) - layout.glyphs[i].pen;
}

void glyphsInColumns(const TextLayout& layout, int64_t left, int64_t right, size_t* first, size_t* last) {
    const auto& glyphs = layout.glyphs;
    // A glyph at pen p has its ink within [p + minLeft, p + maxRight).
    auto begin = std::partition_point(glyphs.begin(), glyphs.end(),
                                      [&](const PlacedGlyph& g) { return g.pen + layout.maxRight <= left; });
    auto end =
        std::partition_point(begin, glyphs.end(), [&](const PlacedGlyph& g) { return g.pen + layout.minLeft < right; });
    *first = static_cast<size_t>(begin - glyphs.begin());
    *last = static_cast<size_t>(end - glyphs.begin());
}
