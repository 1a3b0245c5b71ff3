#include "scene/images.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/lock.h"
#include "scene/canvas.h"
#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "scene/access.h"
#include "scene/objects.h"
#include "scene/png.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

// Builds the picture's full path into path (kPathBufferSize bytes). A path
// that does not fit names no file the game could have, so it is reported as
// missing, cut to what the message can show.
void buildImagePath(char* path, const char* fileName) {
    if (!buildResourcePath(path, "Images", fileName)) fatalError(kMsgPngMissing, path);
}

struct Picture {
    unsigned char* pixels;
    int width, height, colorType;
};

// Loads the picture for an image; does not return when it cannot be used.
// Takes the engine lock only for the cache, so the window goes on drawing
// while a large file is decoded. path is left lower-cased.
Picture loadImagePicture(char* path) {
    Picture picture{nullptr, 0, 0, 0};
    picture.pixels = loadPng(path, &picture.width, &picture.height, &picture.colorType);
    if (!picture.pixels) fatalError(kMsgImageLoadFailed, path);
    return picture;
}

template <typename Use>
bool withImage(int id, Use use) {
    return withRecord<ImageRecord>(imageTable, id, kMsgImageMissing, use);
}

}  // namespace

void drawImageRecord(const ImageRecord& image, Canvas& canvas) {
    if (!image.visible) return;
    canvas.drawPicture(image.x, image.y, image.width, image.height, image.colorType, image.pixels, false, false);
}

extern "C" {

VINDLE_API void createImage(int id, const char* fileName) {
    char path[kPathBufferSize];
    // The number is checked before the disk is touched, and again when the
    // record goes in: another thread may have taken it meanwhile.
    lockEngine();
    refuseTakenNumber(imageTable, id, kMsgImageExists);
    unlockEngine();
    buildImagePath(path, fileName);
    Picture picture = loadImagePicture(path);
    auto* image = newRecord<ImageRecord>();
    image->width = picture.width;
    image->height = picture.height;
    image->colorType = picture.colorType;
    image->pixels = picture.pixels;
    image->visible = 1;
    lockEngine();
    refuseTakenNumber(imageTable, id, kMsgImageExists);
    insertHashValue(tableToFill(imageTable), intKey(id), image);
    noteSceneChange();
    unlockEngine();
}

VINDLE_API void setImageSource(int id, const char* fileName) {
    if (!withImage(id, [](ImageRecord&) {})) return;
    char path[kPathBufferSize];
    buildImagePath(path, fileName);
    Picture picture = loadImagePicture(path);
    // The image may have gone with clearGameUI while the file was read: that
    // is warned about as for any absent number.
    withImage(id, [&](ImageRecord& image) {
        image.pixels = picture.pixels;
        image.width = picture.width;
        image.height = picture.height;
        image.colorType = picture.colorType;
        noteSceneChange();
    });
}

VINDLE_API void setImagePosition(int id, int x, int y) {
    withImage(id, [&](ImageRecord& image) {
        changeField(image.x, x);
        changeField(image.y, y);
    });
}

VINDLE_API void showImage(int id) {
    withImage(id, [](ImageRecord& image) { changeField(image.visible, 1); });
}

VINDLE_API void hideImage(int id) {
    withImage(id, [](ImageRecord& image) { changeField(image.visible, 0); });
}

VINDLE_API int getImageX(int id) { return readRecord(imageTable, id, kMsgImageMissing, &ImageRecord::x); }
VINDLE_API int getImageY(int id) { return readRecord(imageTable, id, kMsgImageMissing, &ImageRecord::y); }
VINDLE_API int getImageWidth(int id) { return readRecord(imageTable, id, kMsgImageMissing, &ImageRecord::width); }
VINDLE_API int getImageHeight(int id) { return readRecord(imageTable, id, kMsgImageMissing, &ImageRecord::height); }
VINDLE_API int isImageVisible(int id) { return readRecord(imageTable, id, kMsgImageMissingNoBlank, &ImageRecord::visible); }

VINDLE_API int isValidImage(int id) { return hasRecord(imageTable, id); }

}  // extern "C"
