#include "scene/images.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/settings.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "scene/access.h"
#include "scene/canvas.h"
#include "scene/objects.h"
#include "scene/png.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

struct Picture {
    const unsigned char* pixels = nullptr;
    int width = 0, height = 0, colorType = 0;
};

// Loads the picture of an image file; does not return when it cannot be
// used. Takes the engine lock only for the cache, so the window goes on
// drawing while a large file is decoded. A path that does not fit names no
// file the game could have, so it is reported as missing, cut to what the
// message can show.
Picture loadImagePicture(const char* fileName) {
    std::string path;
    if (!buildResourcePath(path, "Images", fileName)) fatalError(kMsgPngMissing, path.c_str());
    Picture picture;
    bool tooLarge = false;
    picture.pixels = loadPng(path, &picture.width, &picture.height, &picture.colorType, &tooLarge);
    if (!picture.pixels) fatalError(tooLarge ? kMsgPngTooLarge : kMsgImageLoadFailed, path.c_str());
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
    noteApiCall();
    // The number is checked before the disk is touched, and again when the
    // record goes in: another thread may have taken it meanwhile.
    lockEngine();
    refuseTakenNumber(imageTable, id, kMsgImageExists);
    unlockEngine();
    const Picture picture = loadImagePicture(fileName);
    auto image = std::make_unique<ImageRecord>();
    image->width = picture.width;
    image->height = picture.height;
    image->colorType = picture.colorType;
    image->pixels = picture.pixels;
    lockEngine();
    refuseTakenNumber(imageTable, id, kMsgImageExists);
    imageTable.add(id, std::move(image));
    noteSceneChange();
    unlockEngine();
}

VINDLE_API void setImageSource(int id, const char* fileName) {
    if (!withImage(id, [](ImageRecord&) {})) return;
    const Picture picture = loadImagePicture(fileName);
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
VINDLE_API int isImageVisible(int id) {
    return readRecord(imageTable, id, kMsgImageMissingNoBlank, &ImageRecord::visible);
}

VINDLE_API int isValidImage(int id) { return hasRecord(imageTable, id); }

}  // extern "C"
