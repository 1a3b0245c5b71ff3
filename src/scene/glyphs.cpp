#include "scene/glyphs.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// A cache without a bound would grow with every size a game animates through;
// past this many bytes it starts afresh (texts keep the glyphs they use).
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

std::atomic<uint64_t> cacheGeneration{1};

std::shared_ptr<const Glyph> rasterise(char32_t codePoint, int fontSize) {
    auto glyph = std::make_shared<Glyph>();
    platformRasteriseGlyph(codePoint, fontSize, glyph.get());
    return glyph;
}

}  // namespace

std::shared_ptr<const Glyph> glyphFor(char32_t codePoint, int fontSize) {
    GlyphCache& c = cache();
    const uint64_t key = static_cast<uint64_t>(static_cast<uint32_t>(fontSize)) << 32 | codePoint;
    {
        std::lock_guard<std::mutex> guard(c.lock);
        if (!c.enabled) return rasterise(codePoint, fontSize);
        auto found = c.glyphs.find(key);
        if (found != c.glyphs.end()) return found->second;
    }
    std::shared_ptr<const Glyph> glyph = rasterise(codePoint, fontSize);
    std::lock_guard<std::mutex> guard(c.lock);
    const size_t size = glyph->bits.size() + sizeof(Glyph);
    if (c.bytes + size > kCacheByteLimit) {
        c.glyphs.clear();
        c.bytes = 0;
    }
    auto inserted = c.glyphs.emplace(key, glyph);
    if (inserted.second) c.bytes += size;
    return inserted.first->second;
}

void setGlyphCacheEnabled(bool enabled) {
    GlyphCache& c = cache();
    std::lock_guard<std::mutex> guard(c.lock);
    c.enabled = enabled;
    c.glyphs.clear();
    c.bytes = 0;
    cacheGeneration.fetch_add(1);
}

int cachedGlyphCount() {
    GlyphCache& c = cache();
    std::lock_guard<std::mutex> guard(c.lock);
    return static_cast<int>(c.glyphs.size());
}

std::unique_ptr<TextLayout> layoutText(const char* text, int fontSize) {
    auto layout = std::make_unique<TextLayout>();
    layout->fontSize = fontSize;
    layout->cacheGeneration = cacheGeneration.load();
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

bool layoutIsCurrent(const TextLayout& layout) { return layout.cacheGeneration == cacheGeneration.load(); }

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
