// How the object functions reach a record: the lookup and the work on the
// record happen under the engine lock, a warning about an absent number only
// after it has been released.
#pragma once

#include <cstdlib>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/tables.h"
#include "scene/objects.h"

// Runs use(record) with the lock held when table has the number; otherwise
// prints missingText (unless it is null) once the lock is released. Returns
// whether the number exists. table is read under the lock, since clearGameUI
// may exchange it at any moment.
template <typename Record, typename Use>
bool withRecord(HashTable* const& table, int id, const char* missingText, Use use) {
    lockEngine();
    auto* record = static_cast<Record*>(getHashValue(table, intKey(id)));
    if (record) use(*record);
    unlockEngine();
    if (!record && missingText) printWarning(missingText, id);
    return record != nullptr;
}

// A field of the record, or -1 after the warning when the number is absent.
template <typename Record>
int readRecord(HashTable* const& table, int id, const char* missingText, int32_t Record::*field) {
    int value = -1;
    withRecord<Record>(table, id, missingText, [&](Record& record) { value = record.*field; });
    return value;
}

// 1 when the number exists, else 0; never prints.
inline int hasRecord(HashTable* const& table, int id) {
    lockEngine();
    const bool present = getHashValue(table, intKey(id)) != nullptr;
    unlockEngine();
    return present ? 1 : 0;
}

// For a create operation, with the lock held: a number already taken ends the
// game, reported once the lock is released.
inline void refuseTakenNumber(HashTable* const& table, int id, const char* takenText) {
    if (!getHashValue(table, intKey(id))) return;
    unlockEngine();
    fatalError(takenText, id);
}

// A new record with every field zero; records are plain C blocks, freed with free().
template <typename Record>
Record* newRecord() {
    auto* record = static_cast<Record*>(calloc(1, sizeof(Record)));
    if (!record) abort();  // out of memory
    return record;
}

// The object table a create operation inserts into: it is missing only before
// start-up or after clearGameUI ran out of memory.
inline HashTable* tableToFill(HashTable*& table) {
    if (!table) table = createHashTable(hashInt, equalsInt, kObjectTableBuckets);
    if (!table) abort();  // out of memory
    return table;
}
