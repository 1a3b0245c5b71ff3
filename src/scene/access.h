// How the object functions reach a record: the lookup and the work on the
// record happen under the engine lock, a warning about an absent number only
// after it has been released. Reaching for a record notes the API call.
#pragma once

#include <memory>

#include "core/diagnostics.h"
#include "core/lock.h"
#include "core/process.h"
#include "scene/objects.h"

// Runs use(record) with the lock held when table has the number; otherwise
// prints missingText (unless it is null) once the lock is released. Returns
// whether the number exists.
template <typename Record, typename Use>
bool withRecord(ObjectTable<Record>& table, int id, const char* missingText, Use use) {
    noteApiCall();
    lockEngine();
    Record* record = table.find(id);
    if (record) use(*record);
    unlockEngine();
    if (!record && missingText) printWarning(missingText, id);
    return record != nullptr;
}

// A field of the record, or -1 after the warning when the number is absent.
template <typename Record>
int readRecord(ObjectTable<Record>& table, int id, const char* missingText, int32_t Record::*field) {
    int value = -1;
    withRecord(table, id, missingText, [&](Record& record) { value = record.*field; });
    return value;
}

// 1 when the number exists, else 0; never prints.
template <typename Record>
int hasRecord(ObjectTable<Record>& table, int id) {
    noteApiCall();
    lockEngine();
    const bool present = table.find(id) != nullptr;
    unlockEngine();
    return present ? 1 : 0;
}

// For a create operation, with the lock held: a number already taken ends the
// game, reported once the lock is released.
template <typename Record>
void refuseTakenNumber(ObjectTable<Record>& table, int id, const char* takenText) {
    if (!table.find(id)) return;
    unlockEngine();
    fatalError(takenText, id);
}
