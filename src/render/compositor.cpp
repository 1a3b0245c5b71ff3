#include "render/compositor.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define VINDLE_X86_KERNELS 1
#include <immintrin.h>
#else
#define VINDLE_X86_KERNELS 0
#endif

namespace {

// Pixels are handled as 32-bit words (R in the lowest byte: every target is
// little-endian), two components at a time in 16-bit lanes.
inline uint32_t loadPixel(const unsigned char* p) {
    uint32_t word;
    memcpy(&word, p, 4);
    return word;
}

// Two 8-bit components (in the low bytes of two 16-bit lanes) times a
// fraction f/255, each rounded as Mesa's blender rounds: (t + (t >> 8) + 128)
// >> 8 of t = c * f, within one step of c * f / 255 and exact for 0 and 255.
// No lane carries into the next: t + (t >> 8) + 128 stays below 65536.
inline uint32_t scaleLanes(uint32_t lanes, uint32_t f) {
    const uint32_t t = lanes * f;
    return ((t + ((t >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
}

// Lane values of 256 become 255.
inline uint32_t saturateLanes(uint32_t lanes) {
    const uint32_t over = lanes & 0x01000100u;
    return (lanes | (over - (over >> 8))) & 0x00FF00FFu;
}

// The inner loops, one row span each, in a portable form and, on x86, in
// SSSE3 and AVX2 forms picked once at run time by what the processor has
// (every x86-64 processor since 2006 has SSSE3; AVX2 came in 2013). The wide
// forms handle groups of 4 or 8 pixels and leave the rest to a narrower one.
// A mirrored span is read backwards: src is then its rightmost pixel.

// Red and blue change places: frames in BGRA order take RGBA pictures.
inline uint32_t swapRedBlue(uint32_t word) {
    return (word & 0xFF00FF00u) | (word >> 16 & 0xFFu) | (word & 0xFFu) << 16;
}

// An RGBA span blended onto the frame.
template <bool Reversed, bool Bgra>
void blendPortable(unsigned char* __restrict dst, const unsigned char* __restrict src, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t picked = loadPixel(Reversed ? src - 4 * i : src + 4 * i), d = loadPixel(dst + 4 * i);
        const uint32_t s = Bgra ? swapRedBlue(picked) : picked;
        const uint32_t alpha = s >> 24, rest = 255 - alpha;
        const uint32_t redBlue = saturateLanes(scaleLanes(s & 0x00FF00FFu, alpha) + scaleLanes(d & 0x00FF00FFu, rest));
        const uint32_t green =
            saturateLanes(scaleLanes((s >> 8) & 0x000000FFu, alpha) + scaleLanes((d >> 8) & 0x000000FFu, rest));
        const uint32_t out = redBlue | green << 8 | 0xFF000000u;
        memcpy(dst + 4 * i, &out, 4);
    }
}

void blendSpanPortable(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra) {
    if (bgra) {
        if (reversed)
            blendPortable<true, true>(dst, src, count);
        else
            blendPortable<false, true>(dst, src, count);
    } else if (reversed) {
        blendPortable<true, false>(dst, src, count);
    } else {
        blendPortable<false, false>(dst, src, count);
    }
}

// An RGB span (3 bytes a pixel) widened to opaque pixels.
template <bool Reversed, bool Bgra>
void copyRgbPortable(unsigned char* __restrict dst, const unsigned char* __restrict src, int count) {
    for (int i = 0; i < count; ++i) {
        const unsigned char* p = Reversed ? src - 3 * i : src + 3 * i;
        dst[4 * i + 0] = p[Bgra ? 2 : 0];
        dst[4 * i + 1] = p[1];
        dst[4 * i + 2] = p[Bgra ? 0 : 2];
        dst[4 * i + 3] = 255;
    }
}

void copyRgbSpanPortable(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra, size_t) {
    if (bgra) {
        if (reversed)
            copyRgbPortable<true, true>(dst, src, count);
        else
            copyRgbPortable<false, true>(dst, src, count);
    } else if (reversed) {
        copyRgbPortable<true, false>(dst, src, count);
    } else {
        copyRgbPortable<false, false>(dst, src, count);
    }
}

void fillPortable(uint32_t* out, size_t count, uint32_t word) { std::fill(out, out + count, word); }

// One set of inner loops. bgra: the frame keeps blue in the first byte.
// copyRgb's room: how many bytes of the picture's block lie beyond the span
// on the side it is read towards, which the wide forms may read without using.
struct Kernels {
    const char* name;
    void (*fill)(uint32_t* out, size_t count, uint32_t word);
    void (*blend)(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra);
    void (*copyRgb)(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra, size_t room);
};

constexpr Kernels kPortable{"portable", fillPortable, blendSpanPortable, copyRgbSpanPortable};

#if VINDLE_X86_KERNELS
#define KERNEL_TARGET(features) __attribute__((target(features)))

// Two 16-bit lanes per component, c * f / 255 rounded as the portable form
// (and Mesa's blender) rounds it.
KERNEL_TARGET("ssse3") inline __m128i scale16(__m128i c, __m128i f) {
    const __m128i t = _mm_mullo_epi16(c, f);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(128)), 8);
}

// Half a vector of pixels widened to 16-bit lanes, blended; a sum of 256
// saturates to 255 when packed back.
KERNEL_TARGET("ssse3") inline __m128i blendHalf(__m128i s, __m128i d) {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    return _mm_add_epi16(scale16(s, alpha), scale16(d, _mm_sub_epi16(_mm_set1_epi16(255), alpha)));
}

KERNEL_TARGET("ssse3")
void blendSpanSsse3(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra) {
    const __m128i zero = _mm_setzero_si128(), ones = _mm_set1_epi8(-1);
    const __m128i opaqueAlpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    // The pixels in the frame's order (and, read backwards, turned round).
    const __m128i order = reversed ? (bgra ? _mm_setr_epi8(14, 13, 12, 15, 10, 9, 8, 11, 6, 5, 4, 7, 2, 1, 0, 3)
                                           : _mm_setr_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3))
                                   : (bgra ? _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15)
                                           : _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(reversed ? src - 4 * (i + 3) : src + 4 * i)), order);
        // Clear pixels leave the frame as it is, opaque ones replace it.
        if ((_mm_movemask_epi8(_mm_cmpeq_epi8(s, zero)) & 0x8888) == 0x8888) continue;
        auto* out = reinterpret_cast<__m128i*>(dst + 4 * i);
        if ((_mm_movemask_epi8(_mm_cmpeq_epi8(s, ones)) & 0x8888) == 0x8888) {
            _mm_storeu_si128(out, s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(out);
        const __m128i low = blendHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i high = blendHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(out, _mm_or_si128(_mm_packus_epi16(low, high), opaqueAlpha));
    }
    blendSpanPortable(dst + 4 * i, reversed ? src - 4 * i : src + 4 * i, count - i, reversed, bgra);
}

KERNEL_TARGET("ssse3")
// Where the bytes of four RGB pixels in 16 go in four frame pixels: forwards
// they are the first 12, backwards the last 12 (the span runs back from
// byte 13), in RGBA or BGRA order.
KERNEL_TARGET("ssse3") inline __m128i rgbOrder(bool reversed, bool bgra) {
    if (reversed)
        return bgra ? _mm_setr_epi8(15, 14, 13, -1, 12, 11, 10, -1, 9, 8, 7, -1, 6, 5, 4, -1)
                    : _mm_setr_epi8(13, 14, 15, -1, 10, 11, 12, -1, 7, 8, 9, -1, 4, 5, 6, -1);
    return bgra ? _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1)
                : _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
}

KERNEL_TARGET("ssse3")
void copyRgbSpanSsse3(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra, size_t room) {
    // Four pixels from one 16-byte load: forwards the 4 bytes past them are
    // read too, backwards the 4 before them.
    const __m128i order = rgbOrder(reversed, bgra);
    const __m128i opaqueAlpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const size_t readable = 3 * static_cast<size_t>(count) + room;
    int i = 0;
    for (; i + 4 <= count && 3 * static_cast<size_t>(i) + 16 <= readable; i += 4) {
        const unsigned char* from = reversed ? src - 3 * i - 13 : src + 3 * i;
        const __m128i s = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), order);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), _mm_or_si128(s, opaqueAlpha));
    }
    copyRgbSpanPortable(dst + 4 * i, reversed ? src - 3 * i : src + 3 * i, count - i, reversed, bgra, 0);
}

KERNEL_TARGET("avx2") inline __m256i scale16(__m256i c, __m256i f) {
    const __m256i t = _mm256_mullo_epi16(c, f);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), _mm256_set1_epi16(128)), 8);
}

KERNEL_TARGET("avx2") inline __m256i blendHalf(__m256i s, __m256i d) {
    // Each pixel's alpha (lane 3 of its four) in all four lanes.
    const __m256i spread = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6, 7, 6,
                                            7, 14, 15, 14, 15, 14, 15, 14, 15);
    const __m256i alpha = _mm256_shuffle_epi8(s, spread);
    return _mm256_add_epi16(scale16(s, alpha), scale16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), alpha)));
}

// The first `count` of eight 32-bit lanes (count below 8) for the masked
// loads and stores of a span's last pixels.
KERNEL_TARGET("avx2") inline __m256i firstLanes(int count) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

KERNEL_TARGET("avx2")
void blendSpanAvx2(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaqueAlpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i swap = _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0, 3, 6, 5, 4, 7,
                                          10, 9, 8, 11, 14, 13, 12, 15);
    // Eight pixels at a time; the last few (lanes beyond them masked, so
    // nothing outside the span is read or written) like the rest.
    for (int i = 0; i < count; i += 8) {
        const bool whole = i + 8 <= count;
        const __m256i lanes = whole ? _mm256_set1_epi32(-1) : firstLanes(count - i);
        __m256i s;
        if (reversed) {
            // Read backwards from src - 4i: the eight pixels ending there,
            // turned round, the lanes in use being the last ones read.
            const int* from = reinterpret_cast<const int*>(src - 4 * (i + 7));
            s = _mm256_permutevar8x32_epi32(
                whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from))
                      : _mm256_maskload_epi32(from, _mm256_permutevar8x32_epi32(lanes, reverse)),
                reverse);
        } else {
            s = whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * i))
                      : _mm256_maskload_epi32(reinterpret_cast<const int*>(src + 4 * i), lanes);
        }
        if (bgra) s = _mm256_shuffle_epi8(s, swap);
        // Clear pixels leave the frame as it is, opaque ones replace it.
        if (_mm256_testz_si256(s, opaqueAlpha)) continue;
        int* out = reinterpret_cast<int*>(dst + 4 * i);
        __m256i result = s;
        if (!whole || !_mm256_testc_si256(s, opaqueAlpha)) {
            const __m256i d =
                whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out)) : _mm256_maskload_epi32(out, lanes);
            // Unpacking and packing stay within each 128-bit half, so the
            // pixels come back in their order.
            const __m256i low = blendHalf(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero));
            const __m256i high = blendHalf(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero));
            result = _mm256_or_si256(_mm256_packus_epi16(low, high), opaqueAlpha);
        }
        if (whole)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), result);
        else
            _mm256_maskstore_epi32(out, lanes, result);
    }
}

KERNEL_TARGET("avx2") void fillAvx2(uint32_t* out, size_t count, uint32_t word) {
    // A long run with the string store, which writes whole cache lines
    // without reading them first: the frame's lines were last read by the
    // window system's copy, so a vector store would fetch each one.
    if (count >= 64) {
        __asm__ volatile("rep stosl" : "+D"(out), "+c"(count) : "a"(word) : "memory");
        return;
    }
    const __m256i words = _mm256_set1_epi32(static_cast<int>(word));
    size_t i = 0;
    for (; i + 8 <= count; i += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), words);
    fillPortable(out + i, count - i, word);
}

KERNEL_TARGET("avx2")
void copyRgbSpanAvx2(unsigned char* dst, const unsigned char* src, int count, bool reversed, bool bgra, size_t room) {
    // Eight pixels from two 16-byte loads, one for each half of the vector.
    const __m128i halfOrder = rgbOrder(reversed, bgra);
    const __m256i order = _mm256_inserti128_si256(_mm256_castsi128_si256(halfOrder), halfOrder, 1);
    const __m256i opaqueAlpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const size_t readable = 3 * static_cast<size_t>(count) + room;
    int i = 0;
    // The last few pixels too, with a masked store, where the block has the
    // bytes a whole group reads.
    for (; i < count && 3 * static_cast<size_t>(i) + 28 <= readable; i += 8) {
        __m256i s;
        if (reversed) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src - 3 * i - 13));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src - 3 * i - 25));
            s = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1), order);
        } else {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i + 12));
            s = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1), order);
        }
        s = _mm256_or_si256(s, opaqueAlpha);
        if (i + 8 <= count)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i), s);
        else
            _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + 4 * i), firstLanes(count - i), s);
    }
    if (i >= count) return;
    const size_t used = 3 * static_cast<size_t>(i);
    copyRgbSpanSsse3(dst + 4 * i, reversed ? src - used : src + used, count - i, reversed, bgra, room);
}

constexpr Kernels kSsse3{"ssse3", fillPortable, blendSpanSsse3, copyRgbSpanSsse3};
constexpr Kernels kAvx2{"avx2", fillAvx2, blendSpanAvx2, copyRgbSpanAvx2};
#endif

// The kernel sets this processor runs, the fastest first.
std::vector<const Kernels*> runnableKernels() {
    std::vector<const Kernels*> sets;
#if VINDLE_X86_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) sets.push_back(&kAvx2);
    if (__builtin_cpu_supports("ssse3")) sets.push_back(&kSsse3);
#endif
    sets.push_back(&kPortable);
    return sets;
}

std::atomic<const Kernels*>& activeKernels() {
    static std::atomic<const Kernels*>* const active = new std::atomic<const Kernels*>(runnableKernels().front());
    return *active;
}

}  // namespace

uint8_t colourByte(float component) {
    // NaN fails both tests and counts as 0.
    const float clamped = component > 0.0f ? (component < 1.0f ? component : 1.0f) : 0.0f;
    return static_cast<uint8_t>(std::lrintf(clamped * 255.0f));
}

std::vector<const char*> compositorKernelSets() {
    std::vector<const char*> names;
    for (const Kernels* set : runnableKernels()) names.push_back(set->name);
    return names;
}

bool useCompositorKernels(const char* name) {
    for (const Kernels* set : runnableKernels())
        if (strcmp(set->name, name) == 0) {
            activeKernels().store(set);
            return true;
        }
    return false;
}

void Compositor::begin(int width, int height, float red, float green, float blue, int shiftX, int shiftY,
                       const PlatformFrameMemory* memory) {
    if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide) width = height = 0;
    lent_ = memory && memory->bottomRow && width > 0;
    // Lent memory takes the place of the own buffer, which is given back.
    const size_t bytes = lent_ ? 0 : static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (bytes != pixels_.size()) {
        try {
            // Shrinking gives the memory back too: a window that was large
            // once should not keep its frame.
            std::vector<unsigned char>(bytes).swap(pixels_);
        } catch (const std::bad_alloc&) {
            std::vector<unsigned char>().swap(pixels_);
            width = height = 0;
        }
    }
    width_ = width;
    height_ = height;
    shiftX_ = shiftX;
    shiftY_ = shiftY;
    bgra_ = lent_ && !memory->redFirst;
    bottomRow_ = lent_ ? memory->bottomRow : pixels_.data();
    rowStep_ = lent_ ? memory->rowStep : static_cast<ptrdiff_t>(width) * 4;
    const unsigned char fill[4] = {colourByte(bgra_ ? blue : red), colourByte(green), colourByte(bgra_ ? red : blue),
                                   255};
    memcpy(&clearWord_, fill, 4);
    placed_.clear();
    composed_ = width_ == 0;
}

void Compositor::drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels,
                             bool flipX, bool flipY) {
    if (!width_ || !pixels || width <= 0 || height <= 0 || (colorType != 2 && colorType != 6)) return;
    // Window positions of the picture's edges, wide enough for any int.
    const int64_t left = static_cast<int64_t>(shiftX_) + x, bottom = static_cast<int64_t>(shiftY_) + y;
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + width, width_);
    const int64_t y0 = std::max<int64_t>(bottom, 0), y1 = std::min<int64_t>(bottom + height, height_);
    if (x0 >= x1 || y0 >= y1) return;
    if (composed_) {
        // Pictures after a glyph cannot wait behind it (the scene draws no
        // such thing, but a caller may).
        placed_.clear();
        composed_ = false;
        keepBackground_ = true;
    }
    placed_.push_back(Placed{left, bottom, width, height, colorType, pixels, flipX, flipY, static_cast<int>(x0),
                             static_cast<int>(x1), static_cast<int>(y0), static_cast<int>(y1)});
    if (keepBackground_) finish();
}

void Compositor::finish() {
    if (composed_) return;
    composed_ = true;
    // Pictures are laid out first and drawn after: where a later opaque
    // picture covers a whole tile, nothing under it is drawn or cleared.
    // Going from the top picture down, each one keeps the runs of its tiles
    // not yet covered; then the runs are drawn from the bottom up, blending
    // over what lies below as before.
    const int tilesX = (width_ + kTileSide - 1) / kTileSide, tilesY = (height_ + kTileSide - 1) / kTileSide;
    covered_.assign(static_cast<size_t>(tilesX) * static_cast<size_t>(tilesY), 0);
    pieces_.clear();
    for (size_t index = placed_.size(); index-- > 0;) {
        const Placed& p = placed_[index];
        const int firstTileX = p.x0 / kTileSide, lastTileX = (p.x1 - 1) / kTileSide;
        for (int tileY = p.y0 / kTileSide; tileY <= (p.y1 - 1) / kTileSide; ++tileY) {
            const uint8_t* row = covered_.data() + static_cast<size_t>(tileY) * static_cast<size_t>(tilesX);
            const int y0 = std::max(p.y0, tileY * kTileSide), y1 = std::min(p.y1, (tileY + 1) * kTileSide);
            for (int tileX = firstTileX; tileX <= lastTileX;) {
                if (row[tileX]) {
                    ++tileX;
                    continue;
                }
                const int start = tileX;
                while (tileX <= lastTileX && !row[tileX]) ++tileX;
                pieces_.push_back(Piece{static_cast<uint32_t>(index), std::max(p.x0, start * kTileSide),
                                        std::min(p.x1, tileX * kTileSide), y0, y1});
            }
        }
        if (p.colorType != 2 || keepBackground_) continue;
        // The tiles the opaque picture covers whole (those at the frame's
        // edges are cut by it).
        const int coverX0 = (p.x0 + kTileSide - 1) / kTileSide, coverY0 = (p.y0 + kTileSide - 1) / kTileSide;
        const int coverX1 = p.x1 == width_ ? tilesX : p.x1 / kTileSide;
        const int coverY1 = p.y1 == height_ ? tilesY : p.y1 / kTileSide;
        for (int tileY = coverY0; tileY < coverY1; ++tileY)
            std::fill_n(covered_.begin() + static_cast<ptrdiff_t>(tileY) * tilesX + coverX0,
                        std::max(0, coverX1 - coverX0), uint8_t{1});
    }
    if (!keepBackground_) {
        const uint32_t clear = clearWord_;
        const Kernels& kernels = *activeKernels().load(std::memory_order_relaxed);
        for (int tileY = 0; tileY < tilesY; ++tileY)
            for (int tileX = 0; tileX < tilesX;) {
                if (covered_[static_cast<size_t>(tileY) * tilesX + tileX]) {
                    ++tileX;
                    continue;
                }
                const int start = tileX;
                while (tileX < tilesX && !covered_[static_cast<size_t>(tileY) * tilesX + tileX]) ++tileX;
                const int x0 = start * kTileSide, x1 = std::min(width_, tileX * kTileSide);
                for (int y = tileY * kTileSide; y < std::min(height_, (tileY + 1) * kTileSide); ++y)
                    kernels.fill(reinterpret_cast<uint32_t*>(row(y)) + x0, static_cast<size_t>(x1 - x0), clear);
            }
    }
    for (size_t i = pieces_.size(); i-- > 0;) {
        const Piece& piece = pieces_[i];
        drawPiece(placed_[piece.picture], piece.x0, piece.x1, piece.y0, piece.y1);
    }
    placed_.clear();
    keepBackground_ = false;
}

void Compositor::drawPiece(const Placed& p, int x0, int x1, int y0, int y1) {
    const Kernels& kernels = *activeKernels().load(std::memory_order_relaxed);
    const bool opaque = p.colorType == 2;
    const size_t pixelBytes = opaque ? 3 : 4;
    // RGB rows are padded to 4 bytes, as glDrawPixels reads them.
    const size_t rowBytes = opaque ? (static_cast<size_t>(p.width) * 3 + 3) / 4 * 4 : static_cast<size_t>(p.width) * 4;
    const unsigned char* const blockEnd = p.pixels + rowBytes * static_cast<size_t>(p.height);
    const int count = x1 - x0;
    const int firstColumn = static_cast<int>(x0 - p.left);  // of the span, counted as drawn
    // A mirrored span starts at the far column of the picture and runs back.
    const int sourceColumn = p.flipX ? p.width - 1 - firstColumn : firstColumn;
    const size_t spanBytes = pixelBytes * static_cast<size_t>(count);
    for (int windowY = y0; windowY < y1; ++windowY) {
        const int drawnRow = static_cast<int>(windowY - p.bottom);
        const int sourceRow = p.flipY ? p.height - 1 - drawnRow : drawnRow;
        const unsigned char* src =
            p.pixels + rowBytes * static_cast<size_t>(sourceRow) + pixelBytes * static_cast<size_t>(sourceColumn);
        unsigned char* dst = row(windowY) + static_cast<size_t>(x0) * 4;
        if (!opaque) {
            kernels.blend(dst, src, count, p.flipX, bgra_);
            continue;
        }
        // The bytes of the block beyond the span, on the side it is read towards.
        const size_t room = p.flipX ? static_cast<size_t>(src + pixelBytes - spanBytes - p.pixels)
                                    : static_cast<size_t>(blockEnd - (src + spanBytes));
        kernels.copyRgb(dst, src, count, p.flipX, bgra_, room);
    }
}

void Compositor::drawGlyph(int64_t x, int64_t y, const PlatformGlyph& glyph, const uint8_t colour[3]) {
    if (!width_ || glyph.width <= 0 || glyph.height <= 0) return;
    finish();
    const int64_t left = shiftX_ + x, bottom = shiftY_ + y;
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + glyph.width, width_);
    const int64_t y0 = std::max<int64_t>(bottom, 0), y1 = std::min<int64_t>(bottom + glyph.height, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const uint8_t first = colour[bgra_ ? 2 : 0], third = colour[bgra_ ? 0 : 2];
    for (int64_t windowY = y0; windowY < y1; ++windowY) {
        const unsigned char* bits = glyph.bits.data() + static_cast<size_t>(windowY - bottom) * glyph.stride;
        unsigned char* dst = row(static_cast<int>(windowY));
        for (int64_t windowX = x0; windowX < x1; ++windowX) {
            const int64_t column = windowX - left;
            if (!(bits[column >> 3] & (0x80 >> (column & 7)))) continue;
            unsigned char* p = dst + windowX * 4;
            p[0] = first;
            p[1] = colour[1];
            p[2] = third;
        }
    }
}
