#include "scene/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/messages.h"
#include "engine/paths.h"
#include "platform/platform.h"

HashTable* pngCache = nullptr;

namespace {

constexpr int kPngCacheBuckets = 100;

// A header can claim any size up to 2^31 - 1 per side; libpng refuses larger
// ones before it allocates rows. The budget bounds what one decode may take in
// all (rows included), since a picture within the side limits can still ask
// for gigabytes.
constexpr png_uint_32 kMaxPngSide = 16384;
constexpr size_t kDecodeBudget = size_t{512} << 20;
constexpr png_alloc_size_t kMaxChunkSize = 8u << 20;

struct DecodeMemory {
    size_t used;
};

// Every libpng allocation carries its size in front, so the budget can be
// given back on free.
union AllocationHeader {
    size_t size;
    max_align_t align;
};

png_voidp budgetedMalloc(png_structp read, png_alloc_size_t size) {
    auto* memory = static_cast<DecodeMemory*>(png_get_mem_ptr(read));
    if (size > kDecodeBudget - memory->used) return nullptr;  // libpng reports out of memory
    auto* header = static_cast<AllocationHeader*>(malloc(sizeof(AllocationHeader) + size));
    if (!header) return nullptr;
    header->size = size;
    memory->used += size;
    return header + 1;
}

void budgetedFree(png_structp read, png_voidp block) {
    if (!block) return;
    auto* header = static_cast<AllocationHeader*>(block) - 1;
    auto* memory = static_cast<DecodeMemory*>(png_get_mem_ptr(read));
    memory->used -= header->size;
    free(header);
}

// Decodes an opened file; null on any failure. Holds no object with a
// destructor, because libpng leaves through longjmp.
unsigned char* decodePng(FILE* file, int* width, int* height, int* colorType) {
    DecodeMemory memory{0};
    // The version must be the one of the header we compiled against: libpng
    // refuses a read structure made for another minor release.
    png_structp read = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr, &memory,
                                                budgetedMalloc, budgetedFree);
    if (!read) return nullptr;
    png_infop info = png_create_info_struct(read);
    if (!info) {
        png_destroy_read_struct(&read, nullptr, nullptr);
        return nullptr;
    }
    png_set_user_limits(read, kMaxPngSide, kMaxPngSide);
    png_set_chunk_malloc_max(read, kMaxChunkSize);
    if (setjmp(*png_set_longjmp_fn(read, longjmp, sizeof(jmp_buf)))) {
        png_destroy_read_struct(&read, &info, nullptr);
        return nullptr;
    }

    png_byte signature[8];
    if (fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        png_destroy_read_struct(&read, &info, nullptr);
        return nullptr;
    }
    rewind(file);
    png_init_io(read, file);
    // 16-bit samples are reduced: the drawing passes hand 8-bit samples to GL.
    // Grey pictures become RGB (RGBA with alpha), as palette pictures do.
    png_read_png(read, info, PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_GRAY_TO_RGB, nullptr);

    png_uint_32 w = 0, h = 0;
    int bitDepth = 0, type = 0;
    png_get_IHDR(read, info, &w, &h, &bitDepth, &type, nullptr, nullptr, nullptr);
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    *colorType = type;
    png_bytepp rows = png_get_rows(read, info);

    size_t stride = 0, copied = 0;
    if (type == PNG_COLOR_TYPE_RGB) {
        stride = rgbRowSize(*width);
        copied = 3 * static_cast<size_t>(w);
    } else if (type == PNG_COLOR_TYPE_RGB_ALPHA) {
        stride = copied = 4 * static_cast<size_t>(w);
    }
    unsigned char* block = stride ? static_cast<unsigned char*>(malloc(stride * h)) : nullptr;
    if (block) {
        // Bottom row first, the order in which glDrawPixels fills upwards.
        for (png_uint_32 i = 0; i < h; ++i) memcpy(block + i * stride, rows[h - 1 - i], copied);
    }
    png_destroy_read_struct(&read, &info, nullptr);
    return block;
}

// 1 when s ends in ".png" (case as given), else 0.
int hasPngSuffix(const char* s) {
    static const char kSuffix[] = ".png";
    const size_t suffixLength = sizeof kSuffix - 1;
    size_t length = strlen(s);
    if (suffixLength > length) return 0;
    for (size_t i = 1; i <= suffixLength; ++i)
        if (s[length - i] != kSuffix[suffixLength - i]) return 0;
    return 1;
}

}  // namespace

size_t rgbRowSize(int width) { return (3 * static_cast<size_t>(width) + 3) & ~size_t{3}; }

unsigned char* loadPng(char* path, int* width, int* height, int* colorType) {
    // The cache key is lower-cased, but on a case-sensitive file system the
    // file must be opened by the name the caller gave.
    size_t length = strlen(path);
    if (length >= kPathBufferSize || !platformFileExists(path)) fatalError(kMsgPngMissing, path);
    char givenName[kPathBufferSize];
    memcpy(givenName, path, length + 1);

    platformLowerCaseGameString(path);
    if (!hasPngSuffix(path)) fatalError(kMsgPngNotPng, path);

    if (!pngCache) pngCache = createHashTable(hashString, equalsString, kPngCacheBuckets);
    if (auto* cached = static_cast<PngCacheEntry*>(getHashValue(pngCache, stringKey(path)))) {
        *width = cached->width;
        *height = cached->height;
        *colorType = cached->colorType;
        return cached->pixels;
    }

    FILE* file = platformOpenForReading(givenName);
    if (!file) return nullptr;
    unsigned char* pixels = decodePng(file, width, height, colorType);
    fclose(file);
    if (!pixels || !pngCache) return pixels;

    auto* entry = static_cast<PngCacheEntry*>(malloc(sizeof(PngCacheEntry)));
    char* key = static_cast<char*>(malloc(length + 1));
    if (!entry || !key) {
        free(entry);
        free(key);
        free(pixels);
        return nullptr;
    }
    memcpy(key, path, length + 1);
    *entry = PngCacheEntry{*width, *height, *colorType, pixels};
    insertHashValue(pngCache, stringKey(key), entry);
    return pixels;
}
