// The sprite functions of the game: creation and the twelve accessors. Every
// one holds the engine lock for its table access and reports after releasing it.
#include <cstdlib>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "scene/access.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

template <typename Change>
void changeSprite(int id, Change change) {
    withRecord<SpriteRecord>(spriteTable, id, kMsgSpriteMissing, change);
}

}  // namespace

extern "C" {

VINDLE_API void createSprite(int id, const char* name) {
    char folder[kPathBufferSize];
    if (!name) name = "";
    lockEngine();
    // A number in use is reported before the disk is looked at.
    refuseTakenNumber(spriteTable, id, kMsgSpriteExists);
    // A path longer than the buffer cannot name an existing folder: it is
    // reported as missing, cut to the buffer.
    if (!buildResourcePath(folder, "Sprites", name) || !platformPathExists(folder)) {
        unlockEngine();
        fatalError(kMsgSpriteFolderMissing, folder);
    }
    auto* sprite = newRecord<SpriteRecord>();
    sprite->name = copyGameString(name);
    sprite->folder = copyGameString(folder);
    sprite->visible = 1;
    sprite->repeatPlay = 1;
    insertHashValue(tableToFill(spriteTable), intKey(id), sprite);
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

VINDLE_API int getSpriteX(int id) {
    return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::x);
}

VINDLE_API int getSpriteY(int id) {
    return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::y);
}

VINDLE_API int getSpriteWidth(int id) {
    return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::width);
}

VINDLE_API int getSpriteHeight(int id) {
    return readRecord(spriteTable, id, kMsgSpriteMissing, &SpriteRecord::height);
}

VINDLE_API int isSpriteVisible(int id) {
    return readRecord(spriteTable, id, kMsgSpriteMissingNoBlank, &SpriteRecord::visible);
}

VINDLE_API int isValidSprite(int id) { return hasRecord(spriteTable, id); }

}  // extern "C"
