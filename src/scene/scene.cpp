#include "scene/scene.h"

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/tables.h"
#include "scene/animation.h"
#include "scene/images.h"
#include "scene/objects.h"
#include "scene/texts.h"

void drawScene(Canvas& canvas) {
    SpritePassFault fault;
    lockEngine();
    visitTable(imageTable, [&](void* record) { drawImageRecord(*static_cast<ImageRecord*>(record), canvas); });
    visitTable(spriteTable, [&](void* record) { drawSpriteRecord(*static_cast<SpriteRecord*>(record), canvas, fault); });
    visitTable(textTable, [&](void* record) { drawTextRecord(*static_cast<TextRecord*>(record), canvas); });
    unlockEngine();
    if (fault.message) fatalError(fault.message, fault.path.c_str());
}
