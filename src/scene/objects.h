// The scene's three object tables, each keyed by object number.
#pragma once

#include <cstdint>

#include "core/tables.h"

constexpr int32_t kObjectTableBuckets = 1000;

// Reached only with the engine lock held; clearGameUI exchanges them.
extern HashTable* textTable;
extern HashTable* imageTable;
extern HashTable* spriteTable;

// Creates the tables that do not exist yet (at start-up). Safe to call more
// than once.
void initObjectTables();
