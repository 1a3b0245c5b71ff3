#include <gtest/gtest.h>

#include "platform/posix/charset.h"

namespace {
const char32_t kBad = kReplacementCharacter;
}

TEST(SplitGameString, OneCodePointPerCharacterInUtf8OrGbk) {
    EXPECT_EQ(splitGameString("Score 10"), U"Score 10");
    EXPECT_EQ(splitGameString(""), U"");
    EXPECT_EQ(splitGameString(nullptr), U"");
    EXPECT_EQ(splitGameString("你好"), U"你好");
    EXPECT_EQ(splitGameString("\xc4\xe3\xba\xc3"), U"你好");  // the same in GBK bytes
    EXPECT_EQ(splitGameString("A得分:1"), U"A得分:1");
    EXPECT_EQ(splitGameString("A\xb5\xc3\xb7\xd6:1"), U"A得分:1");
    EXPECT_EQ(splitGameString("\xf0\x9f\x98\x80!"), U"\U0001F600!");
    EXPECT_EQ(splitGameString("\x80"), U"\u20AC");  // the euro sign of code page 936
}

TEST(SplitGameString, BrokenBytesCountAsOneCharacterEach) {
    // A lead byte right before the end is one character.
    EXPECT_EQ(splitGameString("A\xc4"), std::u32string({U'A', kBad}));
    EXPECT_EQ(splitGameString("\xc4\xe3\xba"), std::u32string({U'你', kBad}));
    // A lead byte takes the next byte along even when the pair is no character.
    EXPECT_EQ(splitGameString("\x81\x20z"), std::u32string({kBad, U'z'}));
    EXPECT_EQ(splitGameString("\xff" "a\xff"), std::u32string({kBad, U'a', kBad}));
    // Overlong forms, surrogates and cut sequences are not UTF-8.
    EXPECT_NE(splitGameString("\xc0\xaf"), U"/");
    EXPECT_EQ(splitGameString("\xed\xa0\x80").size(), 2u);
    EXPECT_EQ(splitGameString("ab\xe4\xbd").size(), 3u);
}
