#include "scene/sprites.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/settings.h"
#include "platform/platform.h"
#include "scene/access.h"
#include "scene/canvas.h"
#include "scene/objects.h"
#include "scene/png.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

// atoi's reading of a number, saturating instead of overflowing as the
// Windows runtime does.
int leadingNumber(const char* text) {
    long long value = strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// The frame files of an action folder by the number that begins their base
// names, read as atoi reads it, then by name.
std::vector<std::string> listFrameNames(const std::string& folder) {
    std::vector<std::pair<int, std::string>> numbered;
    platformListPngFiles(
        folder.c_str(),
        [](const char* name, void* context) {
            static_cast<std::vector<std::pair<int, std::string>>*>(context)->emplace_back(
                leadingNumber(fileBaseName(name).c_str()), name);
        },
        &numbered);
    // Equal numbers go by name, so every system plays them in one order.
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::string> names;
    for (auto& [number, name] : numbered) names.push_back(std::move(name));
    return names;
}

void advanceSprite(SpriteRecord& sprite) {
    const int next = sprite.frameIndex + 1;
    const int before = sprite.frameIndex;
    if (next < static_cast<int>(sprite.frames.size()))
        sprite.frameIndex = next;
    else if (sprite.repeatPlay)
        sprite.frameIndex = 0;
    // Each step the shown frame's file is looked for again, so one deleted
    // from the disk ends the game within a step, not at some later redraw.
    sprite.frameTested = false;
    // A hidden sprite steps too, but only a shown one changes the frame.
    if (sprite.visible && sprite.frameIndex != before) noteSceneChange();
}

// The frame's picture, found in or added to the cache once; null with the
// message of the fault, and the path to show, when it cannot be had.
const PngCacheEntry* framePicture(SpriteFrame& frame, const char** message, std::string& shownPath) {
    shownPath = frame.path;
    // checkPngPath lower-cases what it is given; the stored path keeps the
    // disk's letter case, so the test is one lookup.
    if ((*message = checkPngPath(shownPath))) return nullptr;
    if (!frame.picture && !(frame.picture = findCachedPng(frame.key))) {
        // The first drawing of a frame decodes it here, with the lock held:
        // the frame waits for it, as do other threads that want the lock.
        const PngCacheEntry decoded = decodePngFile(frame.path.c_str());
        if (decoded.pixels && cachePng(frame.key, decoded).pixels) frame.picture = findCachedPng(frame.key);
        if (!frame.picture) *message = decoded.tooLarge ? kMsgPngTooLarge : kMsgFrameLoadFailed;
        return frame.picture;
    }
    return frame.picture;
}

template <typename Change>
void changeSprite(int id, Change change) {
    withRecord(spriteTable, id, kMsgSpriteMissing, change);
}

}  // namespace

void advanceAnimations() {
    lockEngine();
    spriteTable.forEach(advanceSprite);
    unlockEngine();
}

void drawSpriteRecord(SpriteRecord& sprite, Canvas& canvas, SpritePassFault& fault) {
    // An action without frames draws nothing.
    if (!sprite.visible || sprite.frameIndex < 0 || sprite.frameIndex >= static_cast<int>(sprite.frames.size())) return;
    // A fault ends the game once the lock is released; nothing more is drawn.
    if (fault.message) return;
    SpriteFrame& frame = sprite.frames[static_cast<size_t>(sprite.frameIndex)];
    // Redrawing the same frame within a step touches neither the disk nor
    // the cache.
    if (!sprite.frameTested || !frame.picture) {
        const char* message = nullptr;
        std::string shownPath;
        if (!framePicture(frame, &message, shownPath)) {
            fault.message = message;
            fault.path = std::move(shownPath);
            return;
        }
        sprite.frameTested = true;
    }
    const PngCacheEntry& picture = *frame.picture;
    sprite.width = picture.width;
    sprite.height = picture.height;
    canvas.drawPicture(sprite.x, sprite.y, picture.width, picture.height, picture.colorType, picture.pixels,
                       sprite.flipX != 0, sprite.flipY != 0);
}

extern "C" {

VINDLE_API void createSprite(int id, const char* name) {
    noteApiCall();
    if (!name) name = "";
    std::string folder;
    lockEngine();
    // A number in use is reported before the disk is looked at.
    refuseTakenNumber(spriteTable, id, kMsgSpriteExists);
    // A path longer than the buffer cannot name an existing folder: it is
    // reported as missing, cut to the buffer.
    if (!buildResourcePath(folder, "Sprites", name) || !platformPathExists(folder.c_str())) {
        unlockEngine();
        fatalError(kMsgSpriteFolderMissing, folder.c_str());
    }
    auto sprite = std::make_unique<SpriteRecord>();
    sprite->name = name;
    sprite->folder = std::move(folder);
    spriteTable.add(id, std::move(sprite));
    unlockEngine();
}

VINDLE_API void playSpriteAnimate(int id, const char* action) {
    noteApiCall();
    if (!action) action = "";
    platformNoteGameString(action);
    lockEngine();
    SpriteRecord* sprite = spriteTable.find(id);
    if (!sprite) {
        unlockEngine();
        printWarning(kMsgSpriteMissing, id);
        return;
    }
    // Naming the current action again costs nothing and does not restart it.
    if (sprite->action == action) {
        unlockEngine();
        return;
    }
    noteSceneChange();
    sprite->frames.clear();
    sprite->action = action;
    sprite->frameIndex = 0;
    sprite->frameTested = false;

    // The stored folder, not the current resources directory: a sprite stays
    // where it was created.
    std::string actionFolder = joinPath(sprite->folder, action);
    if (!fitsPathBuffer(actionFolder) || !platformPathExists(actionFolder.c_str())) {
        // A path too long for the buffer cannot exist; it is shown cut.
        // The record may be gone once the lock is released.
        const std::string name = sprite->name;
        unlockEngine();
        fatalError(kMsgActionMissing, name.c_str(), action, actionFolder.c_str());
    }

    // Frames name the folder as the disk spells it, so drawing one tests its
    // existence with one lookup instead of a search for the letter case.
    std::string diskFolder(kPathBufferSize, '\0');
    if (platformDiskPath(actionFolder.c_str(), &diskFolder[0], diskFolder.size())) actionFolder = diskFolder.c_str();

    for (const std::string& name : listFrameNames(actionFolder)) {
        // A frame whose path does not fit could never be loaded.
        SpriteFrame frame;
        frame.path = joinPath(actionFolder, name.c_str());
        if (!fitsPathBuffer(frame.path)) continue;
        frame.key = frame.path;
        lowerCaseGameString(&frame.key[0]);
        sprite->frames.push_back(std::move(frame));
    }
    unlockEngine();
}

VINDLE_API void setSpritePosition(int id, int x, int y) {
    changeSprite(id, [=](SpriteRecord& s) {
        changeField(s.x, x);
        changeField(s.y, y);
    });
}

VINDLE_API void setSpriteFlipX(int id, int flipX) {
    changeSprite(id, [=](SpriteRecord& s) { changeField(s.flipX, flipX); });
}

VINDLE_API void setSpriteFlipY(int id, int flipY) {
    changeSprite(id, [=](SpriteRecord& s) { changeField(s.flipY, flipY); });
}

VINDLE_API void hideSprite(int id) {
    changeSprite(id, [](SpriteRecord& s) { changeField(s.visible, 0); });
}

VINDLE_API void showSprite(int id) {
    changeSprite(id, [](SpriteRecord& s) { changeField(s.visible, 1); });
}

VINDLE_API void setSpriteRepeatPlay(int id, int repeatPlay) {
    changeSprite(id, [=](SpriteRecord& s) { s.repeatPlay = repeatPlay; });
}

VINDLE_API int getSpriteX(int id) { return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::x); }
VINDLE_API int getSpriteY(int id) { return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::y); }
VINDLE_API int getSpriteWidth(int id) { return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::width); }
VINDLE_API int getSpriteHeight(int id) { return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::height); }
VINDLE_API int isSpriteVisible(int id) {
    return readRecord(spriteTable, id, kMsgSpriteMissingNoBlank, &SpriteRecord::visible);
}

VINDLE_API int isValidSprite(int id) { return hasRecord(spriteTable, id); }

}  // extern "C"
