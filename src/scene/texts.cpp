#include "scene/texts.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/messages.h"
#include "core/process.h"
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

// What a text's layout is made from.
struct TextShape {
    std::string text;
    int32_t fontSize = 0;
    bool operator==(const TextShape& other) const { return text == other.text && fontSize == other.fontSize; }
};

// Gives a text the string or size that reshape makes of its current ones.
// The layout, whose glyphs may take long to rasterise, is made before the
// engine lock is taken, so the window goes on drawing meanwhile; should
// another thread reshape the text in between, it is made again for that.
template <typename Reshape>
void reshapeText(int id, Reshape reshape) {
    TextShape current;
    if (!withText(id, [&](TextRecord& r) { current = TextShape{r.text, r.fontSize}; })) return;
    for (;;) {
        TextShape wanted = current;
        reshape(wanted);
        // A game that sets the same string every loop changes nothing.
        if (wanted == current) return;
        std::unique_ptr<TextLayout> layout = layoutText(wanted.text.c_str(), wanted.fontSize);
        bool stored = false;
        // The text may have gone with clearGameUI meanwhile: that is warned
        // about as for any absent number.
        const bool present = withText(id, [&](TextRecord& r) {
            if (!(TextShape{r.text, r.fontSize} == current)) {
                current = TextShape{r.text, r.fontSize};
                return;
            }
            r.text = std::move(wanted.text);
            r.fontSize = wanted.fontSize;
            r.layout = std::move(layout);
            noteSceneChange();
            stored = true;
        });
        if (!present || stored) return;
    }
}

}  // namespace

void drawTextRecord(TextRecord& record, Canvas& canvas) {
    // Every text is laid out when its string or size is set.
    if (!record.visible || !record.layout) return;
    canvas.drawText(record.x, record.y, record.red, record.green, record.blue, *record.layout);
}

extern "C" {

VINDLE_API void createText(int id, const char* text) {
    noteApiCall();
    platformNoteGameString(text);
    auto record = std::make_unique<TextRecord>();
    record->text = copyGameString(text);
    record->layout = layoutText(record->text.c_str(), record->fontSize);
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
    platformNoteGameString(text);
    const std::string copy = copyGameString(text);
    reshapeText(id, [&](TextShape& shape) { shape.text = copy; });
}

VINDLE_API void setTextColor(int id, float red, float green, float blue) {
    withText(id, [&](TextRecord& r) {
        changeField(r.red, red);
        changeField(r.green, green);
        changeField(r.blue, blue);
    });
}

VINDLE_API void setTextFontSize(int id, int size) {
    reshapeText(id, [&](TextShape& shape) { shape.fontSize = size; });
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
