// The image pass of the frame.
#pragma once

// Draws one ImageRecord of the image table when it is visible; the caller
// holds the engine lock.
void drawImageRecord(void* record);
