#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/lock.h"
#include "core/tables.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "vindle.h"

namespace {

std::vector<int> visited;
void recordVisit(void* value) { visited.push_back(*static_cast<int*>(value)); }

HashTable* intTable() { return createHashTable(hashInt, equalsInt, kObjectTableBuckets); }

}  // namespace

TEST(HashTable, ObjectNumbersUseNineHundredNinetyNineBuckets) {
    HashTable* table = intTable();
    EXPECT_EQ(bucketIndex(table, intKey(0)), 0);
    EXPECT_EQ(bucketIndex(table, intKey(999)), 0);
    EXPECT_EQ(bucketIndex(table, intKey(998)), 998);
    EXPECT_EQ(bucketIndex(table, intKey(-1)), 561);  // 4294967295 mod 999
    destroyHashTable(table);
}

TEST(HashTable, VisitsBucketsUpwardsAndChainsInInsertionOrder) {
    HashTable* table = intTable();
    int values[] = {5, 999, 0, 1, -1, 1998};
    for (int& v : values) insertHashValue(table, intKey(v), &v);
    EXPECT_EQ(table->entryCount, 6);
    visited.clear();
    visitTable(table, recordVisit);
    // Bucket 0 holds 999, 0, 1998 in creation order; -1 lies in bucket 561.
    EXPECT_EQ(visited, (std::vector<int>{999, 0, 1998, 1, 5, -1}));
    EXPECT_EQ(table->buckets[999], nullptr);
    destroyHashTable(table);
}

TEST(HashTable, LookupFindsStoredNumbersOnly) {
    HashTable* table = intTable();
    int a = 1, b = 2;
    insertHashValue(table, intKey(0), &a);
    insertHashValue(table, intKey(999), &b);
    EXPECT_EQ(getHashValue(table, intKey(0)), &a);
    EXPECT_EQ(getHashValue(table, intKey(999)), &b);
    EXPECT_EQ(getHashValue(table, intKey(1998)), nullptr);
    EXPECT_EQ(getHashValue(nullptr, intKey(0)), nullptr);
    destroyHashTable(table);
}

TEST(HashString, FoldsSixteenBitUnits) {
    EXPECT_EQ(hashString(stringKey(nullptr)), 0u);
    EXPECT_EQ(hashString(stringKey("")), 0u);
    EXPECT_EQ(hashString(stringKey("a")), 0x61u);
    EXPECT_EQ(hashString(stringKey("abc")), 0x62A7u);
    EXPECT_EQ(hashString(stringKey("ab")), 0x6261u);
    // Unit 16 is shifted by 0 again (i mod 16): "a" + 32 zeros-free filler.
    std::string s(34, 'x');
    uint32_t expected = 0;
    for (size_t i = 0; i < 17; ++i) expected ^= (0x7878u << (i % 16));
    EXPECT_EQ(hashString(stringKey(s.c_str())), expected);
    // Bytes above 127 count as unsigned.
    EXPECT_EQ(hashString(stringKey("\xff")), 0xFFu);
}

TEST(HashTable, ReplaceHandsBackTheOldValueAndFreesNothing) {
    // Integer keys are no pointers: a table that freed a key would crash here.
    HashTable* numbers = intTable();
    int a = 1, b = 2, c = 3;
    EXPECT_EQ(replaceHashValue(numbers, intKey(7), &a), nullptr);  // absent: added
    EXPECT_EQ(replaceHashValue(numbers, intKey(7), &b), &a);
    EXPECT_EQ(replaceHashValue(numbers, intKey(1006), &c), nullptr);  // same bucket as 7
    EXPECT_EQ(numbers->entryCount, 2);
    EXPECT_EQ(getHashValue(numbers, intKey(7)), &b);
    destroyHashTable(numbers);

    // A string table keeps the key it was first given; the caller frees the
    // rest (the sanitizer build reports a double free or a leak).
    HashTable* paths = createHashTable(hashString, equalsString, 100);
    char* first = strdup("c:\\images\\bg.png");
    void* original = malloc(16);
    insertHashValue(paths, stringKey(first), original);
    char* second = strdup("c:\\images\\bg.png");
    void* replacement = malloc(16);
    EXPECT_EQ(replaceHashValue(paths, stringKey(second), replacement), original);
    free(original);
    free(second);
    EXPECT_EQ(paths->entryCount, 1);
    EXPECT_EQ(getHashValue(paths, stringKey("c:\\images\\bg.png")), replacement);
    EXPECT_EQ(bucketIndex(paths, stringKey("abc")), static_cast<int32_t>(0x62A7u % 99));
    free(replacement);
    free(first);
    destroyHashTable(paths);
}

TEST(ClearGameUI, LeavesThreeEmptyTablesAndFreesTheRecords) {
    auto text = std::make_unique<TextRecord>();
    text->text = "hello";
    auto sprite = std::make_unique<SpriteRecord>();
    sprite->name = "hero";
    sprite->folder = "/x/Sprites/hero";
    sprite->frames.push_back(SpriteFrame{"/x/Sprites/hero/walk/1.png", "/x/sprites/hero/walk/1.png"});
    lockEngine();
    textTable.add(3, std::move(text));
    spriteTable.add(-3, std::move(sprite));
    EXPECT_EQ(textTable.size(), 1);
    unlockEngine();

    clearGameUI();  // the sanitizer build reports a leak if the records stay

    lockEngine();
    EXPECT_EQ(textTable.size(), 0);
    EXPECT_EQ(imageTable.size(), 0);
    EXPECT_EQ(spriteTable.size(), 0);
    EXPECT_EQ(textTable.find(3), nullptr);
    ASSERT_NE(textTable.hashTable(), nullptr);
    EXPECT_EQ(bucketIndex(textTable.hashTable(), intKey(-1)), 561);  // the same 1000 buckets again
    unlockEngine();
}

TEST(CopyGameString, NullCountsAsEmpty) { EXPECT_EQ(copyGameString(nullptr), ""); }
