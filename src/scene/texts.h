// The text pass of the frame.
#pragma once

class Canvas;
struct TextRecord;

// Draws one text record if it is visible; drawScene calls it for every record
// of the text table with the engine lock held.
void drawTextRecord(TextRecord& record, Canvas& canvas);
