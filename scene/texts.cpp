#include "scene/texts.h"

#include <cstdlib>

#include "engine/diagnostics.h"
#include "engine/gl.h"
#include "engine/messages.h"
#include "engine/tables.h"
#include "platform/platform.h"
#include "scene/access.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

template <typename Change>
bool withText(int id, Change change) {
    return withRecord<TextRecord>(textTable, id, kMsgTextMissing, change);
}

}  // namespace

void drawGlyphString(const char* text, int fontSize) { platformDrawGlyphString(text, fontSize); }

void drawTextRecord(void* value) {
    const auto* record = static_cast<const TextRecord*>(value);
    if (!record->visible) return;
    // The raster colour is latched when the raster position is set.
    glColor3f(record->red, record->green, record->blue);
    placeRasterPosition(record->x, record->y);
    drawGlyphString(record->text, record->fontSize);
}

extern "C" {

VINDLE_API void createText(int id, const char* text) {
    platformNoteGameString(text);
    lockEngine();
    refuseTakenNumber(textTable, id, kMsgTextExists);
    auto* record = newRecord<TextRecord>();
    record->text = copyGameString(text);
    record->visible = 1;
    record->fontSize = 20;
    insertHashValue(tableToFill(textTable), intKey(id), record);
    unlockEngine();
}

VINDLE_API void setTextPosition(int id, int x, int y) {
    withText(id, [&](TextRecord& r) {
        r.x = x;
        r.y = y;
    });
}

VINDLE_API void setText(int id, const char* text) {
    // Copied before the lock so the frame waits no longer than the swap.
    platformNoteGameString(text);
    char* copy = copyGameString(text);
    if (!withText(id, [&](TextRecord& r) {
            free(r.text);
            r.text = copy;
        }))
        free(copy);
}

VINDLE_API void setTextColor(int id, float red, float green, float blue) {
    withText(id, [&](TextRecord& r) {
        r.red = red;
        r.green = green;
        r.blue = blue;
    });
}

VINDLE_API void setTextFontSize(int id, int size) {
    withText(id, [&](TextRecord& r) { r.fontSize = size; });
}

VINDLE_API void hideText(int id) {
    withText(id, [](TextRecord& r) { r.visible = 0; });
}

VINDLE_API void showText(int id) {
    withText(id, [](TextRecord& r) { r.visible = 1; });
}

VINDLE_API int getTextX(int id) { return readRecord(textTable, id, kMsgTextMissing, &TextRecord::x); }

VINDLE_API int getTextY(int id) { return readRecord(textTable, id, kMsgTextMissing, &TextRecord::y); }

VINDLE_API int isTextVisible(int id) { return readRecord(textTable, id, kMsgTextMissing, &TextRecord::visible); }

VINDLE_API int isValidText(int id) { return hasRecord(textTable, id); }

}  // extern "C"
