#include "core/tables.h"

#include <cstdlib>
#include <cstring>

HashTable* createHashTable(HashFunc hash, EqualsFunc equals, int32_t bucketCount) {
    auto* table = static_cast<HashTable*>(calloc(1, sizeof(HashTable)));
    if (!table) return nullptr;
    table->buckets = static_cast<HashEntry**>(calloc(static_cast<size_t>(bucketCount), sizeof(HashEntry*)));
    if (!table->buckets) {
        free(table);
        return nullptr;
    }
    table->hash = hash;
    table->equals = equals;
    table->bucketCount = bucketCount;
    return table;
}

void destroyHashTable(HashTable* table) {
    if (!table) return;
    for (int32_t i = 0; i < table->bucketCount; ++i) {
        HashEntry* entry = table->buckets[i];
        while (entry) {
            HashEntry* next = entry->next;
            free(entry);
            entry = next;
        }
    }
    free(table->buckets);
    free(table);
}

int32_t bucketIndex(const HashTable* table, HashKey key) {
    return static_cast<int32_t>(table->hash(key) % static_cast<uint32_t>(table->bucketCount - 1));
}

void insertHashValue(HashTable* table, HashKey key, void* value) {
    HashEntry** link = &table->buckets[bucketIndex(table, key)];
    auto* entry = static_cast<HashEntry*>(malloc(sizeof(HashEntry)));
    if (!entry) abort();  // out of memory: nothing sensible is left to do
    entry->key = key;
    entry->value = value;
    entry->next = nullptr;
    while (*link) link = &(*link)->next;
    *link = entry;
    ++table->entryCount;
}

void* replaceHashValue(HashTable* table, HashKey key, void* value) {
    for (HashEntry* entry = table->buckets[bucketIndex(table, key)]; entry; entry = entry->next) {
        if (table->equals(key, entry->key)) {
            void* previous = entry->value;
            entry->value = value;
            return previous;
        }
    }
    insertHashValue(table, key, value);
    return nullptr;
}

void* getHashValue(const HashTable* table, HashKey key) {
    if (!table) return nullptr;
    for (HashEntry* entry = table->buckets[bucketIndex(table, key)]; entry; entry = entry->next)
        if (table->equals(key, entry->key)) return entry->value;
    return nullptr;
}

uint32_t hashInt(HashKey key) { return static_cast<uint32_t>(key); }
int equalsInt(HashKey a, HashKey b) { return a == b ? 1 : 0; }

uint32_t hashString(HashKey key) {
    const auto* s = reinterpret_cast<const unsigned char*>(key);
    if (!s) return 0;
    size_t units = (strlen(reinterpret_cast<const char*>(s)) + 1) / 2;
    uint32_t hash = 0;
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = static_cast<uint32_t>(s[2 * i]) | (static_cast<uint32_t>(s[2 * i + 1]) << 8);
        hash ^= unit << (i % 16);
    }
    return hash;
}

int equalsString(HashKey a, HashKey b) {
    return strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b)) == 0 ? 1 : 0;
}
