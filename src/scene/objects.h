// The scene's three object tables, each keyed by object number.
#pragma once

#include <cstdint>

#include "core/tables.h"
#include "scene/records.h"

constexpr int32_t kObjectTableBuckets = 1000;

template <typename Record>
using ObjectTable = Table<int32_t, Record>;

// Reached only with the engine lock held; clearGameUI empties them. They live
// as long as the process: the window thread may draw while it exits.
extern ObjectTable<TextRecord>& textTable;
extern ObjectTable<ImageRecord>& imageTable;
extern ObjectTable<SpriteRecord>& spriteTable;
