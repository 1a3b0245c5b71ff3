// The Linux box's reading of game text (UTF-8 or GBK).
#include <gtest/gtest.h>

#include "platform/linux/text.h"

TEST(DialogText, KeepsUtf8) {
    EXPECT_EQ(gameTextAsUtf8("提示 score 42"), "提示 score 42");
    EXPECT_EQ(gameTextAsUtf8(""), "");
    EXPECT_EQ(gameTextAsUtf8(nullptr), "");
}

TEST(DialogText, ReadsOtherTextAsGbk) {
    EXPECT_EQ(gameTextAsUtf8("\xcc\xe1\xca\xbe"), "提示");
    EXPECT_EQ(gameTextAsUtf8("\xb7\xd6\xca\xfd: 42"), "分数: 42");
    // A GBK pair whose second byte is ASCII stays one character.
    EXPECT_EQ(gameTextAsUtf8("\x81\x40\xb7\xd6"), "丂分");
}

TEST(DialogText, KeepsEngineTextAroundGbkNames) {
    EXPECT_EQ(gameTextAsUtf8("图片 \xce\xc4\xbc\xfe.png 文件不存在！"), "图片 文件.png 文件不存在！");
}

TEST(DialogText, DropsACharacterCutOffAtTheEnd) {
    EXPECT_EQ(gameTextAsUtf8("得分很高\xe6\x8f"), "得分很高");
    EXPECT_EQ(gameTextAsUtf8("ok 得分\xe6"), "ok 得分");
}

TEST(DialogText, MarksBytesThatAreNeither) {
    EXPECT_EQ(gameTextAsUtf8("a\xff" "b"), "a?b");
    EXPECT_EQ(gameTextAsUtf8("\xb7"), "?");
}
