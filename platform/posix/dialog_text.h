// Text preparation for the Linux message box, shared with its tests.
#pragma once

#include <string>

// The game's bytes as UTF-8 for drawing. Text that is valid UTF-8 is kept. Any
// other text is read piece by piece between ASCII bytes: a piece of valid UTF-8
// made of three- and four-byte characters (the engine's own messages) stays,
// every other piece is read as GBK (sources saved on Chinese Windows); bytes
// that are neither become '?'. A UTF-8 character cut off at the very end (by
// a full message buffer) is dropped.
std::string dialogTextAsUtf8(const char* text);

