#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/linux/text.h"

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

namespace {

struct Gb2312Character {
    std::string gbk, utf8;
    char32_t codePoint;
};

std::string utf8Of(char32_t cp) {
    std::string out;
    if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
    return out;
}

// The 6,763 ideographs of GB2312: rows 0xB0..0xF7, columns 0xA1..0xFE, less
// the five empty places at the end of row 0xD7.
std::vector<Gb2312Character> gb2312Ideographs() {
    std::vector<Gb2312Character> all;
    for (int row = 0xB0; row <= 0xF7; ++row)
        for (int column = 0xA1; column <= 0xFE; ++column) {
            const unsigned char bytes[] = {static_cast<unsigned char>(row), static_cast<unsigned char>(column)};
            const char32_t cp = decodeCp936Character(bytes, 2);
            if (cp == kBad) continue;
            all.push_back({std::string(reinterpret_cast<const char*>(bytes), 2), utf8Of(cp), cp});
        }
    return all;
}

// Strings read wrong, each character alone, in the given encoding.
size_t misread(const std::vector<Gb2312Character>& all, bool gbk) {
    size_t wrong = 0;
    for (const Gb2312Character& c : all)
        if (splitGameString((gbk ? c.gbk : c.utf8).c_str()) != std::u32string(1, c.codePoint)) ++wrong;
    return wrong;
}

class GameEncodingTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("VINDLE_ENCODING");
        resetGameEncoding();
    }
    void TearDown() override {
        unsetenv("VINDLE_ENCODING");
        resetGameEncoding();
    }
};

}  // namespace

TEST_F(GameEncodingTest, EveryGb2312IdeographReadsRightColdAndAfterASettlingString) {
    const std::vector<Gb2312Character> all = gb2312Ideographs();
    ASSERT_EQ(all.size(), 6763u);
    size_t validUtf8 = 0;  // GBK bytes that a reading by validity alone takes for UTF-8
    for (const Gb2312Character& c : all)
        if (static_cast<unsigned char>(c.gbk[0]) <= 0xDF && static_cast<unsigned char>(c.gbk[1]) <= 0xBF) ++validUtf8;
    const size_t coldGbk = misread(all, true), coldUtf8 = misread(all, false);
    std::cout << "cold one-character strings misread: GBK " << coldGbk << " of " << all.size() << ", UTF-8 "
              << coldUtf8 << " (valid as both: " << validUtf8 << ")\n";
    EXPECT_EQ(coldGbk, 0u);
    EXPECT_EQ(coldUtf8, 0u);
    EXPECT_EQ(gameEncoding(), GameEncoding::unknown);  // reading settles nothing

    noteGameString("Score 10");  // ASCII settles nothing
    EXPECT_EQ(gameEncoding(), GameEncoding::unknown);
    noteGameString("\xc4\xe3\xba\xc3");  // 你好 in GBK, not UTF-8
    EXPECT_EQ(gameEncoding(), GameEncoding::gbk);
    noteGameString("你");  // the first settles it for good
    EXPECT_EQ(gameEncoding(), GameEncoding::gbk);
    EXPECT_EQ(misread(all, true), 0u);

    resetGameEncoding();
    noteGameString("你");  // not GBK: its three bytes make no pairs
    EXPECT_EQ(gameEncoding(), GameEncoding::utf8);
    EXPECT_EQ(misread(all, false), 0u);
    // Ambiguous in a UTF-8 game: the C2 BC of GBK 录 is "¼".
    EXPECT_EQ(splitGameString("\xc2\xbc"), U"\u00BC");
}

TEST_F(GameEncodingTest, ShortColdStringsReadAsChineseAndTheVariableForcesAnEncoding) {
    EXPECT_EQ(splitGameString("\xd0\xa1\xcb\xb5"), U"小说");  // valid UTF-8 too: "С˵"
    EXPECT_EQ(splitGameString("\xc2\xbc"), U"录");
    EXPECT_EQ(splitGameString("你好"), U"你好");
    EXPECT_EQ(splitGameString("Caf\xc3\xa9"), U"Caf茅");  // an ideograph beats a Latin-1 letter
    EXPECT_EQ(gameEncoding(), GameEncoding::unknown);

    setenv("VINDLE_ENCODING", "GBK", 1);
    resetGameEncoding();
    EXPECT_EQ(gameEncoding(), GameEncoding::gbk);
    noteGameString("得分");
    EXPECT_EQ(gameEncoding(), GameEncoding::gbk);
    EXPECT_EQ(splitGameString("\xb5\xc3\xb7\xd6"), U"得分");
    EXPECT_EQ(splitGameString("\xf0\x9f\x98\x80"), U"馃榾");
    EXPECT_EQ(splitGameString("你").size(), 2u);  // read as GBK, though it is not

    setenv("VINDLE_ENCODING", "utf-8", 1);
    resetGameEncoding();
    EXPECT_EQ(gameEncoding(), GameEncoding::utf8);
    EXPECT_EQ(splitGameString("\xd0\xa1\xcb\xb5"), U"\u0421\u02F5");
    EXPECT_EQ(splitGameString("\xb5\xc3"), std::u32string({kBad, kBad}));
    EXPECT_EQ(splitGameString("Caf\xc3\xa9"), U"Caf\u00E9");
}
