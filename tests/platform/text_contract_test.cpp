// The text service of platform.h as every backend gives it: a string a game
// wrote in code page 936 (GBK) splits into its characters, a double-byte
// character always one, whatever its second byte looks like.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

TEST(PlatformText, GbkStringsSplitIntoTheirCharacters) {
    const std::string score = "A\xb5\xc3\xb7\xd6:1";  // A得分:1
    platformNoteGameString(score.c_str());
    EXPECT_EQ(platformSplitGameString(score.c_str()), U"A得分:1");
    EXPECT_EQ(platformSplitGameString("\xc4\xe3\xba\xc3"), U"你好");
    // A second byte that is '\\' or a letter belongs to its character.
    EXPECT_EQ(platformSplitGameString("\x81\x5c").size(), 1u);
    EXPECT_EQ(platformSplitGameString("\xd6\x50z").size(), 2u);
    // A lead byte right before the end is one character of its own.
    EXPECT_EQ(platformSplitGameString("\xc4\xe3\xba"), (std::u32string{U'你', U'\uFFFD'}));
    EXPECT_EQ(platformSplitGameString("Score 10"), U"Score 10");
    EXPECT_EQ(platformSplitGameString(""), U"");
    EXPECT_EQ(platformSplitGameString(nullptr), U"");
    EXPECT_TRUE(platformDoubleByteString(score.c_str()));
}
