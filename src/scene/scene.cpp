#include "scene/scene.h"

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/settings.h"
#include "scene/glyphs.h"
#include "scene/images.h"
#include "scene/objects.h"
#include "scene/sprites.h"
#include "scene/texts.h"

void drawScene(Canvas& canvas) {
    SpritePassFault fault;
    lockEngine();
    beginFrameGlyphs();
    imageTable.forEach([&](const ImageRecord& record) { drawImageRecord(record, canvas); });
    spriteTable.forEach([&](SpriteRecord& record) { drawSpriteRecord(record, canvas, fault); });
    textTable.forEach([&](TextRecord& record) { drawTextRecord(record, canvas); });
    // Glyphs left out for time come with the next frame.
    if (endFrameGlyphs()) noteSceneChange();
    unlockEngine();
    if (fault.message) fatalError(fault.message, fault.path.c_str());
}
