#include "scene/animation.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/lock.h"
#include "scene/canvas.h"
#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "scene/objects.h"
#include "scene/png.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

FrameNode* newFrameNode(char* path) {
    auto* node = static_cast<FrameNode*>(calloc(1, sizeof(FrameNode)));
    if (!node) abort();  // out of memory
    node->path = path;
    return node;
}

void appendName(const char* name, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(name); }

// atoi's reading of a number, saturating instead of overflowing as the
// Windows runtime does.
int leadingNumber(const char* text) {
    long long value = strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Number of frames after the list's head; -1 for no list at all.
int countFrames(const FrameNode* list) {
    if (!list) return -1;
    int count = 0;
    for (const FrameNode* node = list->next; node; node = node->next) ++count;
    return count;
}

// qsort comparison of two file names: by the number that begins the base
// name, read as atoi reads it.
int compareFrameNames(const void* a, const void* b) {
    // Only the leading number counts, so a name cut to this size still
    // compares the same unless its number alone is longer.
    char baseA[1024], baseB[1024];
    platformBaseName(*static_cast<const char* const*>(a), baseA, sizeof baseA);
    platformBaseName(*static_cast<const char* const*>(b), baseB, sizeof baseB);
    const int numberA = leadingNumber(baseA), numberB = leadingNumber(baseB);
    return numberA < numberB ? -1 : numberA > numberB ? 1 : 0;
}

FrameNode* frameAt(FrameNode* list, int index) {
    FrameNode* node = list->next;
    for (int i = 0; node && i < index; ++i) node = node->next;
    return node;
}

void advanceSprite(void* record) {
    auto* sprite = static_cast<SpriteRecord*>(record);
    const int next = sprite->frameIndex + 1;
    const int before = sprite->frameIndex;
    if (next < countFrames(sprite->frames))
        sprite->frameIndex = next;
    else if (sprite->repeatPlay)
        sprite->frameIndex = 0;
    // A hidden sprite steps too, but only a shown one changes the frame.
    if (sprite->visible && sprite->frameIndex != before) noteSceneChange();
}

}  // namespace

void advanceAnimations() {
    lockEngine();
    visitTable(spriteTable, advanceSprite);
    unlockEngine();
}

void drawSpriteRecord(SpriteRecord& record, Canvas& canvas, SpritePassFault& frameFault) {
    SpriteRecord* sprite = &record;
    if (!sprite->visible || !sprite->frames) return;
    // An action without frames draws nothing.
    FrameNode* frame = frameAt(sprite->frames, sprite->frameIndex);
    if (!frame) return;
    // A fault ends the game once the lock is released; nothing more is drawn.
    if (frameFault.message) return;
    // checkPngPath lower-cases what it is given. Handing it a copy keeps the
    // stored path in the letter case of the disk, so the per-frame existence
    // test stays one lookup instead of a case-insensitive directory walk.
    char path[kPathBufferSize];
    memcpy(path, frame->path, strlen(frame->path) + 1);  // built to fit this size
    PngCacheEntry picture{0, 0, 0, nullptr};
    const char* fault = checkPngPath(path);
    if (!fault) {
        // The first drawing of a frame decodes it here, with the lock held:
        // the frame waits for it, as do other threads that want the lock.
        const PngCacheEntry* cached = findCachedPng(path);
        picture = cached ? *cached : decodePngFile(frame->path);
        if (!cached && picture.pixels) picture = cachePng(path, picture);
        if (!picture.pixels) fault = kMsgFrameLoadFailed;
    }
    if (fault) {
        frameFault.message = fault;
        frameFault.path = path;
        return;
    }
    const int width = picture.width, height = picture.height;
    const unsigned char* pixels = picture.pixels;
    sprite->width = width;
    sprite->height = height;
    canvas.drawPicture(sprite->x, sprite->y, width, height, picture.colorType, pixels, sprite->flipX != 0,
                              sprite->flipY != 0);
}

extern "C" VINDLE_API void playSpriteAnimate(int id, const char* action) {
    if (!action) action = "";
    platformNoteGameString(action);
    char actionFolder[kPathBufferSize];
    lockEngine();
    auto* sprite = static_cast<SpriteRecord*>(getHashValue(spriteTable, intKey(id)));
    if (!sprite) {
        unlockEngine();
        printWarning(kMsgSpriteMissing, id);
        return;
    }
    // Naming the current action again costs nothing and does not restart it.
    if (sprite->action && strcmp(sprite->action, action) == 0) {
        unlockEngine();
        return;
    }
    noteSceneChange();
    free(sprite->action);
    freeFrameList(sprite->frames);
    sprite->frames = nullptr;
    sprite->action = copyGameString(action);
    sprite->frameIndex = 0;

    // The stored folder, not the current resources directory: a sprite stays
    // where it was created.
    if (!joinPath(actionFolder, sizeof actionFolder, sprite->folder, action) || !platformPathExists(actionFolder)) {
        // A path too long for the buffer cannot exist; it is shown cut.
        // The record may be gone once the lock is released.
        char* name = copyGameString(sprite->name);
        unlockEngine();
        fatalError(kMsgActionMissing, name, action, actionFolder);
    }

    // Frames name the folder as the disk spells it, so drawing one tests its
    // existence with one lookup instead of a search for the letter case.
    char diskFolder[kPathBufferSize];
    if (platformDiskPath(actionFolder, diskFolder, sizeof diskFolder))
        memcpy(actionFolder, diskFolder, strlen(diskFolder) + 1);

    // The frame files in the order the system lists them, then by number.
    std::vector<std::string> files;
    platformListPngFiles(actionFolder, appendName, &files);
    std::vector<const char*> names;
    for (const std::string& file : files) names.push_back(file.c_str());
    if (names.size() > 1) qsort(names.data(), names.size(), sizeof(const char*), compareFrameNames);

    sprite->frames = newFrameNode(nullptr);
    FrameNode* tail = sprite->frames;
    char framePath[kPathBufferSize];
    for (const char* name : names) {
        // A frame whose path does not fit could never be loaded.
        if (!joinPath(framePath, sizeof framePath, actionFolder, name)) continue;
        tail->next = newFrameNode(copyGameString(framePath));
        tail = tail->next;
    }
    unlockEngine();
}
