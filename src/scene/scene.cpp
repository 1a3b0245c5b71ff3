#include "scene/scene.h"

#include "core/diagnostics.h"
#include "core/lock.h"
#include "scene/images.h"
#include "scene/objects.h"
#include "scene/sprites.h"
#include "scene/texts.h"

void drawScene(Canvas& canvas) {
    SpritePassFault fault;
    lockEngine();
    imageTable.forEach([&](const ImageRecord& record) { drawImageRecord(record, canvas); });
    spriteTable.forEach([&](SpriteRecord& record) { drawSpriteRecord(record, canvas, fault); });
    textTable.forEach([&](TextRecord& record) { drawTextRecord(record, canvas); });
    unlockEngine();
    if (fault.message) fatalError(fault.message, fault.path.c_str());
}
