#include "scene/objects.h"

#include "core/lock.h"
#include "core/process.h"
#include "core/settings.h"
#include "vindle.h"

ObjectTable<TextRecord>& textTable = *new ObjectTable<TextRecord>(kObjectTableBuckets);
ObjectTable<ImageRecord>& imageTable = *new ObjectTable<ImageRecord>(kObjectTableBuckets);
ObjectTable<SpriteRecord>& spriteTable = *new ObjectTable<SpriteRecord>(kObjectTableBuckets);

extern "C" VINDLE_API void clearGameUI(void) {
    noteApiCall();
    lockEngine();
    // Nothing refers to the dropped records afterwards, so they go with their
    // tables; the pixel blocks they point to stay in the PNG cache.
    textTable.clear();
    imageTable.clear();
    spriteTable.clear();
    noteSceneChange();
    unlockEngine();
}
