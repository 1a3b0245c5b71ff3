#include "scene/images.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/gl.h"
#include "engine/messages.h"
#include "engine/settings.h"
#include "engine/tables.h"
#include "engine/window.h"
#include "platform/platform.h"
#include "scene/png.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

// Builds the picture's full path into path (kPathBufferSize bytes). A path
// that does not fit names no file the game could have, so it is reported as
// missing, cut to what the message can show.
void buildImagePath(char* path, const char* fileName) {
    if (buildResourcePath(path, "Images", fileName)) return;
    char directory[kPathBufferSize];
    resolveResourcesDir(directory);
    const char separator = platformPathSeparator();
    if (snprintf(path, kPathBufferSize, "%s%cImages%c%s", directory, separator, separator,
                 fileName ? fileName : "") < 0)
        path[0] = '\0';
    fatalError(kMsgPngMissing, path);
}

struct Picture {
    unsigned char* pixels;
    int width, height, colorType;
};

// Loads the picture for an image with the engine lock held; does not return
// when it cannot be used. path is left lower-cased.
Picture loadImagePicture(char* path) {
    Picture picture{nullptr, 0, 0, 0};
    picture.pixels = loadPng(path, &picture.width, &picture.height, &picture.colorType);
    if (!picture.pixels) fatalError(kMsgImageLoadFailed, path);
    return picture;
}

// Runs use(record) with the lock held when the image exists; otherwise
// warns with the given text after the lock is released. False when absent.
template <typename Use>
bool withImage(int id, const char* missingText, Use use) {
    lockEngine();
    auto* image = static_cast<ImageRecord*>(getHashValue(imageTable, intKey(id)));
    if (image) use(*image);
    unlockEngine();
    if (!image && missingText) printWarning(missingText, id);
    return image != nullptr;
}

int readImage(int id, const char* missingText, int ImageRecord::*field) {
    int value = -1;
    withImage(id, missingText, [&](ImageRecord& image) { value = image.*field; });
    return value;
}

}  // namespace

void drawImageRecord(void* record) {
    const auto* image = static_cast<const ImageRecord*>(record);
    if (!image->visible) return;
    GLenum format;
    if (image->colorType == 2)
        format = GL_RGB;
    else if (image->colorType == 6)
        format = GL_RGBA;
    else
        return;
    placeRasterPosition(image->x, image->y);
    glDrawPixels(image->width, image->height, format, GL_UNSIGNED_BYTE, image->pixels);
}

extern "C" {

VINDLE_API void createImage(int id, const char* fileName) {
    char path[kPathBufferSize];
    lockEngine();
    if (getHashValue(imageTable, intKey(id))) {
        unlockEngine();
        fatalError(kMsgImageExists, id);
    }
    buildImagePath(path, fileName);
    Picture picture = loadImagePicture(path);
    // Only reachable before start-up made the table; the image needs one.
    if (!imageTable) imageTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    if (imageTable) {
        auto* image = static_cast<ImageRecord*>(calloc(1, sizeof(ImageRecord)));
        if (!image) abort();  // out of memory
        image->id = id;
        image->path = copyGameString(path);
        image->width = picture.width;
        image->height = picture.height;
        image->colorType = picture.colorType;
        image->pixels = picture.pixels;
        image->visible = 1;
        putHashValue(imageTable, intKey(id), image);
    }
    unlockEngine();
}

VINDLE_API void setImageSource(int id, const char* fileName) {
    withImage(id, kMsgImageMissing, [&](ImageRecord& image) {
        char path[kPathBufferSize];
        buildImagePath(path, fileName);
        Picture picture = loadImagePicture(path);
        free(image.path);
        image.path = copyGameString(path);
        image.pixels = picture.pixels;
        image.width = picture.width;
        image.height = picture.height;
        image.colorType = picture.colorType;
    });
}

VINDLE_API void setImagePosition(int id, int x, int y) {
    withImage(id, kMsgImageMissing, [&](ImageRecord& image) {
        image.x = x;
        image.y = y;
    });
}

VINDLE_API void showImage(int id) {
    withImage(id, kMsgImageMissing, [](ImageRecord& image) { image.visible = 1; });
}

VINDLE_API void hideImage(int id) {
    withImage(id, kMsgImageMissing, [](ImageRecord& image) { image.visible = 0; });
}

VINDLE_API int getImageX(int id) { return readImage(id, kMsgImageMissing, &ImageRecord::x); }
VINDLE_API int getImageY(int id) { return readImage(id, kMsgImageMissing, &ImageRecord::y); }
VINDLE_API int getImageWidth(int id) { return readImage(id, kMsgImageMissing, &ImageRecord::width); }
VINDLE_API int getImageHeight(int id) { return readImage(id, kMsgImageMissing, &ImageRecord::height); }
VINDLE_API int isImageVisible(int id) { return readImage(id, kMsgImageMissingNoBlank, &ImageRecord::visible); }

VINDLE_API int isValidImage(int id) { return withImage(id, nullptr, [](ImageRecord&) {}) ? 1 : 0; }

}  // extern "C"
