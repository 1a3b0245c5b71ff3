#include "scene/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/messages.h"
#include "core/paths.h"
#include "platform/platform.h"

namespace {
constexpr int kPngCacheBuckets = 100;
}  // namespace

Table<std::string, PngCacheEntry>& pngCache = *new Table<std::string, PngCacheEntry>(kPngCacheBuckets);

namespace {

// A header can claim any size up to 2^31 - 1 per side. What bounds a decode is
// its memory: the budget covers all it takes, the pixel block included, so a
// long strip of a background loads while a picture that would need gigabytes
// is refused before its rows are allocated.
constexpr png_uint_32 kMaxPngSide = PNG_UINT_31_MAX;
constexpr size_t kDecodeBudget = size_t{512} << 20;
constexpr png_alloc_size_t kMaxChunkSize = 8u << 20;
constexpr png_uint_32 kMaxStoredChunks = 64;

struct DecodeMemory {
    size_t used;
    bool overBudget;  // an allocation was refused for the budget
};

// Every libpng allocation carries its size in front, so the budget can be
// given back on free.
union AllocationHeader {
    size_t size;
    max_align_t align;
};

png_voidp budgetedMalloc(png_structp read, png_alloc_size_t size) {
    auto* memory = static_cast<DecodeMemory*>(png_get_mem_ptr(read));
    if (size > kDecodeBudget - memory->used) {
        memory->overBudget = true;
        return nullptr;  // libpng reports out of memory
    }
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

// Decodes an opened file straight into the pixel block, bottom row first, so
// a decode needs the block plus a few rows of libpng's own. Holds no object
// with a destructor, because libpng leaves through longjmp.
PngCacheEntry decodePng(FILE* file) {
    PngCacheEntry picture;
    DecodeMemory memory{0, false};
    // The version must be the one of the header we compiled against: libpng
    // refuses a read structure made for another minor release.
    png_structp read = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr, &memory,
                                                budgetedMalloc, budgetedFree);
    if (!read) return picture;
    png_infop info = png_create_info_struct(read);
    if (!info) {
        png_destroy_read_struct(&read, nullptr, nullptr);
        return picture;
    }
    png_set_user_limits(read, kMaxPngSide, kMaxPngSide);
    png_set_chunk_malloc_max(read, kMaxChunkSize);
    png_set_chunk_cache_max(read, kMaxStoredChunks);
    // Texts, profiles and the other ancillary chunks are never used: skipped
    // unread, so a chunk that claims gigabytes costs nothing.
    png_set_keep_unknown_chunks(read, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);

    // Written after setjmp, read after longjmp.
    unsigned char* volatile block = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(*png_set_longjmp_fn(read, longjmp, sizeof(jmp_buf)))) {
        free(rows);
        free(block);
        png_destroy_read_struct(&read, &info, nullptr);
        picture.pixels = nullptr;
        picture.tooLarge = memory.overBudget;
        return picture;
    }

    png_byte signature[8];
    if (fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        png_destroy_read_struct(&read, &info, nullptr);
        return picture;
    }
    rewind(file);
    png_init_io(read, file);
    png_read_info(read, info);
    // 16-bit samples are reduced: the drawing passes hand 8-bit samples to GL.
    png_set_expand(read);
    png_set_strip_16(read);
    // Grey pictures become RGB (RGBA with alpha), as palette pictures do.
    png_set_gray_to_rgb(read);
    png_set_interlace_handling(read);
    png_read_update_info(read, info);

    png_uint_32 w = 0, h = 0;
    int bitDepth = 0, type = 0;
    png_get_IHDR(read, info, &w, &h, &bitDepth, &type, nullptr, nullptr, nullptr);
    picture.width = static_cast<int>(w);
    picture.height = static_cast<int>(h);
    picture.colorType = type;

    size_t stride = 0, used = 0;
    if (type == PNG_COLOR_TYPE_RGB) {
        stride = rgbRowSize(picture.width);
        used = 3 * static_cast<size_t>(w);
    } else if (type == PNG_COLOR_TYPE_RGB_ALPHA) {
        stride = used = 4 * static_cast<size_t>(w);
    }
    if (stride == 0 || png_get_rowbytes(read, info) != used) {
        png_destroy_read_struct(&read, &info, nullptr);
        return picture;
    }
    // The block and its row pointers, counted so that no product overflows.
    const size_t available = kDecodeBudget - memory.used, rowsSize = h * sizeof(png_bytep);
    if (h == 0 || rowsSize / sizeof(png_bytep) != h || rowsSize > available || stride > (available - rowsSize) / h) {
        png_destroy_read_struct(&read, &info, nullptr);
        picture.tooLarge = h != 0;
        return picture;
    }
    const size_t blockSize = stride * h;
    block = static_cast<unsigned char*>(malloc(blockSize));
    rows = static_cast<png_bytep*>(malloc(rowsSize));
    if (!block || !rows) png_error(read, "out of memory");
    memory.used += blockSize + rowsSize;
    // The file's top row goes last, the order in which glDrawPixels fills upwards.
    for (png_uint_32 i = 0; i < h; ++i) rows[h - 1 - i] = block + i * stride;
    png_read_image(read, rows);
    png_read_end(read, info);

    free(rows);
    png_destroy_read_struct(&read, &info, nullptr);
    picture.pixels = block;
    return picture;
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

const char* checkPngPath(std::string& path) {
    if (path.size() >= kPathBufferSize || !platformFileExists(path.c_str())) return kMsgPngMissing;
    lowerCaseGameString(&path[0]);
    if (!hasPngSuffix(path.c_str())) return kMsgPngNotPng;
    return nullptr;
}

const PngCacheEntry* findCachedPng(const std::string& key) { return pngCache.find(key); }

PngCacheEntry decodePngFile(const char* fileName) {
    FILE* file = platformOpenForReading(fileName);
    if (!file) return PngCacheEntry{};
    PngCacheEntry picture = decodePng(file);
    fclose(file);
    return picture;
}

PngCacheEntry cachePng(const std::string& key, PngCacheEntry decoded) {
    // Two threads may decode one file at once; the first to get here wins.
    if (const PngCacheEntry* cached = findCachedPng(key)) {
        free(decoded.pixels);
        return *cached;
    }
    return pngCache.add(key, std::make_unique<PngCacheEntry>(decoded));
}

void forgetCachedPictures() {
    lockEngine();
    pngCache.forEach([](PngCacheEntry& entry) { free(entry.pixels); });
    pngCache.clear();
    unlockEngine();
}

const unsigned char* loadPng(std::string& path, int* width, int* height, int* colorType, bool* tooLarge) {
    // The cache key is lower-cased, but on a case-sensitive file system the
    // file must be opened by the name the caller gave.
    const std::string givenName = path;
    if (const char* fault = checkPngPath(path)) fatalError(fault, path.c_str());

    lockEngine();
    const PngCacheEntry* cached = findCachedPng(path);
    PngCacheEntry picture = cached ? *cached : PngCacheEntry{};
    unlockEngine();
    if (!cached) {
        picture = decodePngFile(givenName.c_str());
        if (picture.pixels) {
            lockEngine();
            picture = cachePng(path, picture);
            unlockEngine();
        }
    }
    *width = picture.width;
    *height = picture.height;
    *colorType = picture.colorType;
    if (tooLarge) *tooLarge = picture.tooLarge;
    return picture.pixels;
}
