// Chained hash tables with caller-chosen key functions. They have no lock of
// their own: the engine lock guards the scene's tables and the PNG cache.
#pragma once

#include <cstdint>

using HashKey = uintptr_t;  // an object number, or a pointer to a string
using HashFunc = uint32_t (*)(HashKey key);
using EqualsFunc = int (*)(HashKey a, HashKey b);

struct HashEntry {
    HashKey key;
    void* value;
    HashEntry* next;
};

struct HashTable {
    HashFunc hash;
    EqualsFunc equals;
    int32_t bucketCount;
    int32_t entryCount;
    HashEntry** buckets;
};

// Null when the bucket array cannot be allocated.
HashTable* createHashTable(HashFunc hash, EqualsFunc equals, int32_t bucketCount);
// Frees the entries, the buckets and the table; keys and values stay.
void destroyHashTable(HashTable* table);
// The table never frees a key or a value: they stay the caller's.
// Adds the pair at the end of its bucket's chain. The key must not be in the
// table yet.
void insertHashValue(HashTable* table, HashKey key, void* value);
// Stores value under the equal key already in the table and returns the value
// it held; the table keeps its own key. Without an equal key it adds the pair
// as insertHashValue does and returns null.
void* replaceHashValue(HashTable* table, HashKey key, void* value);
// The value stored under an equal key, or null (also for a null table).
void* getHashValue(const HashTable* table, HashKey key);
// The bucket a key lives in: hash mod (bucketCount - 1), so the last bucket
// always stays empty.
int32_t bucketIndex(const HashTable* table, HashKey key);
// Calls visit(value) for every entry in visiting order: buckets upwards, each
// chain in order of insertion. A null table visits nothing.
template <typename Visit>
void visitTable(const HashTable* table, Visit visit) {
    if (!table) return;
    for (int32_t i = 0; i < table->bucketCount; ++i)
        for (HashEntry* entry = table->buckets[i]; entry; entry = entry->next) visit(entry->value);
}

uint32_t hashInt(HashKey key);
int equalsInt(HashKey a, HashKey b);
uint32_t hashString(HashKey key);
int equalsString(HashKey a, HashKey b);

inline HashKey intKey(int32_t number) { return static_cast<HashKey>(static_cast<uint32_t>(number)); }
inline HashKey stringKey(const char* s) { return reinterpret_cast<HashKey>(s); }
