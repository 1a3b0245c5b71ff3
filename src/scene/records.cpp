#include "scene/records.h"

#include "scene/glyphs.h"

// Here, where TextLayout is complete.
TextRecord::TextRecord() = default;
TextRecord::~TextRecord() = default;
