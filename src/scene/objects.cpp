#include "scene/objects.h"

#include "core/lock.h"
#include "core/settings.h"
#include "scene/records.h"
#include "vindle.h"

HashTable* textTable = nullptr;
HashTable* imageTable = nullptr;
HashTable* spriteTable = nullptr;

void initObjectTables() {
    lockEngine();
    if (!textTable) textTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    if (!imageTable) imageTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    if (!spriteTable) spriteTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    unlockEngine();
}

extern "C" VINDLE_API void clearGameUI(void) {
    lockEngine();
    // Nothing refers to the dropped records afterwards, so they go with their
    // tables; the pixel blocks they point to stay in the PNG cache.
    visitTable(textTable, releaseTextRecord);
    visitTable(imageTable, releaseImageRecord);
    visitTable(spriteTable, releaseSpriteRecord);
    destroyHashTable(textTable);
    destroyHashTable(imageTable);
    destroyHashTable(spriteTable);
    textTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    imageTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    spriteTable = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    noteSceneChange();
    unlockEngine();
}
