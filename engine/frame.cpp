#include "engine/frame.h"

#include "engine/diagnostics.h"
#include "engine/gl.h"
#include "engine/paths.h"
#include "engine/settings.h"
#include "engine/tables.h"
#include "scene/animation.h"
#include "scene/images.h"
#include "scene/objects.h"
#include "scene/texts.h"

void drawFrame() {
    const int width = settings.gameWidth.load(std::memory_order_relaxed);
    const int height = settings.gameHeight.load(std::memory_order_relaxed);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(settings.bgRed.load(std::memory_order_relaxed), settings.bgGreen.load(std::memory_order_relaxed),
                 settings.bgBlue.load(std::memory_order_relaxed), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(settings.viewportX.load(std::memory_order_relaxed), settings.viewportY.load(std::memory_order_relaxed),
               width, height);

    // Bottom layer first: images, then sprites, then texts; each pass walks
    // its table in visiting order.
    char faultPath[kPathBufferSize];
    lockEngine();
    visitTable(imageTable, drawImageRecord);
    visitTable(spriteTable, drawSpriteRecord);
    visitTable(textTable, drawTextRecord);
    const char* fault = takeSpritePassFault(faultPath);
    unlockEngine();
    if (fault) fatalError(fault, faultPath);
}
