#include <gtest/gtest.h>

#include "platform/posix/charset.h"

TEST(SplitGameString, AsciiAndEmpty) {
    EXPECT_EQ(splitGameString("Score 10"), U"Score 10");
    EXPECT_EQ(splitGameString(""), U"");
    EXPECT_EQ(splitGameString(nullptr), U"");
}

TEST(SplitGameString, ChineseInUtf8AndInGbkGiveTheSameCharacters) {
    EXPECT_EQ(splitGameString("你好"), U"你好");
    EXPECT_EQ(splitGameString("\xc4\xe3\xba\xc3"), U"你好");  // GBK bytes of the same two
    EXPECT_EQ(splitGameString("得分:12 分"), U"得分:12 分");
    EXPECT_EQ(splitGameString("A\xb5\xc3\xb7\xd6:1"), U"A得分:1");
    // Four-byte UTF-8 is one character.
    EXPECT_EQ(splitGameString("\xf0\x9f\x98\x80!"), U"\U0001F600!");
}

TEST(SplitGameString, TrailingLeadByteIsOneCharacter) {
    EXPECT_EQ(splitGameString("A\xc4"), std::u32string({U'A', kReplacementCharacter}));
    EXPECT_EQ(splitGameString("\xc4\xe3\xba"), std::u32string({U'你', kReplacementCharacter}));
}

TEST(SplitGameString, BadBytesBecomeOneReplacementEach) {
    // 0xFF is no character in either encoding; 0x80 is the euro sign in GBK.
    EXPECT_EQ(splitGameString("\xff" "a\xff"), std::u32string({kReplacementCharacter, U'a', kReplacementCharacter}));
    EXPECT_EQ(splitGameString("\x80"), U"\u20AC");
    // A lead byte takes the next byte with it even when the pair is no character.
    EXPECT_EQ(splitGameString("\x81\x20z"), std::u32string({kReplacementCharacter, U'z'}));
}

TEST(SplitGameString, MalformedUtf8FallsBackToGbk) {
    // An overlong '/' and an encoded surrogate are not UTF-8.
    std::u32string overlong = splitGameString("\xc0\xaf");
    ASSERT_EQ(overlong.size(), 1u);
    EXPECT_NE(overlong[0], U'/');
    EXPECT_EQ(splitGameString("\xed\xa0\x80").size(), 2u);
    // A truncated UTF-8 sequence at the end.
    EXPECT_EQ(splitGameString("ab\xe4\xbd").size(), 3u);
}
