#include "scene/texts.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "scene/access.h"
#include "scene/canvas.h"
#include "scene/glyphs.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

template <typename Change>
bool withText(int id, Change change) {
    return withRecord<TextRecord>(textTable, id, kMsgTextMissing, change);
}

}  // namespace

void drawTextRecord(TextRecord& record, Canvas& canvas) {
    if (!record.visible) return;
    // Laid out once per change of string or size, not on every frame.
    if (record.layout && !layoutIsCurrent(*record.layout)) record.layout.reset();
    if (!record.layout) record.layout = layoutText(record.text.c_str(), record.fontSize);
    canvas.drawText(record.x, record.y, record.red, record.green, record.blue, *record.layout);
}

extern "C" {

VINDLE_API void createText(int id, const char* text) {
    platformNoteGameString(text);
    auto record = std::make_unique<TextRecord>();
    record->text = copyGameString(text);
    lockEngine();
    refuseTakenNumber(textTable, id, kMsgTextExists);
    textTable.add(id, std::move(record));
    noteSceneChange();
    unlockEngine();
}

VINDLE_API void setTextPosition(int id, int x, int y) {
    withText(id, [&](TextRecord& r) {
        changeField(r.x, x);
        changeField(r.y, y);
    });
}

VINDLE_API void setText(int id, const char* text) {
    // Copied before the lock so the frame waits no longer than the swap.
    platformNoteGameString(text);
    std::string copy = copyGameString(text);
    withText(id, [&](TextRecord& r) {
        // A game that sets the same string every loop changes nothing.
        if (r.text == copy) return;
        std::swap(r.text, copy);
        r.layout.reset();
        noteSceneChange();
    });
}

VINDLE_API void setTextColor(int id, float red, float green, float blue) {
    withText(id, [&](TextRecord& r) {
        changeField(r.red, red);
        changeField(r.green, green);
        changeField(r.blue, blue);
    });
}

VINDLE_API void setTextFontSize(int id, int size) {
    withText(id, [&](TextRecord& r) {
        if (r.fontSize == size) return;
        r.fontSize = size;
        r.layout.reset();
        noteSceneChange();
    });
}

VINDLE_API void hideText(int id) {
    withText(id, [](TextRecord& r) { changeField(r.visible, 0); });
}

VINDLE_API void showText(int id) {
    withText(id, [](TextRecord& r) { changeField(r.visible, 1); });
}

VINDLE_API int getTextX(int id) { return readRecord(textTable, id, kMsgTextMissing, &TextRecord::x); }

VINDLE_API int getTextY(int id) { return readRecord(textTable, id, kMsgTextMissing, &TextRecord::y); }

VINDLE_API int isTextVisible(int id) { return readRecord(textTable, id, kMsgTextMissing, &TextRecord::visible); }

VINDLE_API int isValidText(int id) { return hasRecord(textTable, id); }

}  // extern "C"
