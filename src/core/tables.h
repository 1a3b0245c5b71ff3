// Chained hash tables with caller-chosen key functions. They have no lock of
// their own: the engine lock guards the scene's tables and the PNG cache.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

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

// A typed, owning table over HashTable: the keys are object numbers (int32_t)
// or strings (std::string, copied into the table), the values records the
// table owns and deletes. Lookup, insertion and the visiting order are those
// of the chained table underneath, which decide what is drawn on top.
template <typename Key>
struct TableKey;

template <>
struct TableKey<int32_t> {
    static constexpr HashFunc hash = hashInt;
    static constexpr EqualsFunc equals = equalsInt;
    static HashKey find(int32_t key) { return intKey(key); }
    static HashKey keep(int32_t key) { return intKey(key); }
    static void release(HashKey) {}
};

template <>
struct TableKey<std::string> {
    static constexpr HashFunc hash = hashString;
    static constexpr EqualsFunc equals = equalsString;
    static HashKey find(const std::string& key) { return stringKey(key.c_str()); }
    static HashKey keep(const std::string& key) {
        char* copy = static_cast<char*>(malloc(key.size() + 1));
        if (!copy) abort();  // out of memory
        memcpy(copy, key.c_str(), key.size() + 1);
        return stringKey(copy);
    }
    static void release(HashKey key) { free(reinterpret_cast<void*>(key)); }
};

template <typename Key, typename Value>
class Table {
public:
    explicit Table(int32_t bucketCount) : bucketCount_(bucketCount) { reset(); }
    ~Table() { drop(); }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // The value stored under key, or null.
    Value* find(const Key& key) const { return static_cast<Value*>(getHashValue(table_, TableKey<Key>::find(key))); }
    // Stores value under key, which must not be in the table yet, at the end
    // of its bucket's chain.
    Value& add(const Key& key, std::unique_ptr<Value> value) {
        if (!table_) reset();
        if (!table_) abort();  // out of memory
        Value& stored = *value;
        insertHashValue(table_, TableKey<Key>::keep(key), value.release());
        return stored;
    }
    // Calls visit(value) for every value in visiting order.
    template <typename Visit>
    void forEach(Visit visit) const {
        visitTable(table_, [&](void* value) { visit(*static_cast<Value*>(value)); });
    }
    // Deletes every value and starts again from an empty table of the same
    // size (null, like a missing table, when it cannot be allocated).
    void clear() {
        drop();
        reset();
    }
    int32_t size() const { return table_ ? table_->entryCount : 0; }
    const HashTable* hashTable() const { return table_; }

private:
    void reset() { table_ = createHashTable(TableKey<Key>::hash, TableKey<Key>::equals, bucketCount_); }
    void drop() {
        if (!table_) return;
        for (int32_t i = 0; i < table_->bucketCount; ++i)
            for (HashEntry* entry = table_->buckets[i]; entry; entry = entry->next) {
                delete static_cast<Value*>(entry->value);
                TableKey<Key>::release(entry->key);
            }
        destroyHashTable(table_);
        table_ = nullptr;
    }

    int32_t bucketCount_;
    HashTable* table_ = nullptr;
};
