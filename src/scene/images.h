// The image pass of the frame.
#pragma once

class Canvas;
struct ImageRecord;

// Draws one record of the image table when it is visible; the caller holds
// the engine lock.
void drawImageRecord(const ImageRecord& record, Canvas& canvas);
