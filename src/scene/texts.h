// The text pass of the frame.
#pragma once

// Draws one text record if it is visible; the frame calls it for every record
// of the text table with the engine lock held.
void drawTextRecord(void* record);
