#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/tables.h"
#include "platform/seam.h"
#include "scene/records.h"
#include "support/capture.h"
#include "vindle.h"

namespace {

class Texts : public ::testing::Test {
protected:
    void SetUp() override {
        initEngineTables();
        clearGameUI();
    }
    void TearDown() override { clearGameUI(); }

    // A copy of the record as the frame would see it.
    static TextRecord record(int id) {
        lockEngine();
        auto* found = static_cast<TextRecord*>(getHashValue(textTable, intKey(id)));
        TextRecord copy{};
        if (found) copy = *found;
        std::string text = found ? found->text : "";
        unlockEngine();
        EXPECT_NE(found, nullptr) << "no text " << id;
        copy.text = nullptr;
        lastText = text;
        return copy;
    }
    static inline std::string lastText;
};

std::string missing(int id) { return "不存在编号为" + std::to_string(id) + "的文本\n"; }

}  // namespace

TEST_F(Texts, NewTextIsVisibleBlackTwentyHighAtOrigin) {
    EXPECT_EQ(captureStdout([] { createText(1, "hello"); }), "");
    EXPECT_EQ(getTextX(1), 0);
    EXPECT_EQ(getTextY(1), 0);
    EXPECT_EQ(isTextVisible(1), 1);
    EXPECT_EQ(isValidText(1), 1);
    TextRecord r = record(1);
    EXPECT_EQ(lastText, "hello");
    EXPECT_EQ(r.id, 1);
    EXPECT_EQ(r.fontSize, 20);
    EXPECT_EQ(r.red, 0.0f);
    EXPECT_EQ(r.green, 0.0f);
    EXPECT_EQ(r.blue, 0.0f);
}

TEST_F(Texts, SettersChangeOnlyTheirFields) {
    createText(4, "a");
    std::string out = captureStdout([] {
        setTextPosition(4, -10, 300);
        setTextColor(4, 255.0f, -0.5f, 1.5f);
        setTextFontSize(4, -7);
        setText(4, "你好");
        hideText(4);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(getTextX(4), -10);
    EXPECT_EQ(getTextY(4), 300);
    EXPECT_EQ(isTextVisible(4), 0);
    TextRecord r = record(4);
    EXPECT_EQ(lastText, "你好");
    // Colours and sizes are stored exactly as given.
    EXPECT_EQ(r.red, 255.0f);
    EXPECT_EQ(r.green, -0.5f);
    EXPECT_EQ(r.blue, 1.5f);
    EXPECT_EQ(r.fontSize, -7);
    showText(4);
    EXPECT_EQ(isTextVisible(4), 1);
}

TEST_F(Texts, HideAndShowRepeatSilently) {
    createText(2, "x");
    EXPECT_EQ(captureStdout([] {
                  hideText(2);
                  hideText(2);
              }),
              "");
    EXPECT_EQ(isTextVisible(2), 0);
    EXPECT_EQ(captureStdout([] {
                  showText(2);
                  showText(2);
              }),
              "");
    EXPECT_EQ(isTextVisible(2), 1);
}

TEST_F(Texts, AbsentNumbersWarnAndChangeNothing) {
    createText(1, "keep");
    int x = 0, y = 0, visible = 0;
    std::string out = captureStdout([&] {
        setTextPosition(7, 1, 2);
        setText(7, "x");
        setTextColor(7, 1, 1, 1);
        setTextFontSize(7, 30);
        hideText(7);
        showText(7);
        x = getTextX(7);
        y = getTextY(7);
        visible = isTextVisible(-8);
    });
    std::string expected;
    for (int i = 0; i < 8; ++i) expected += missing(7);
    expected += missing(-8);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(visible, -1);  // not 0
    EXPECT_EQ(isValidText(7), 0);
    EXPECT_EQ(captureStdout([] { isValidText(7); }), "");
    // The neighbour was not touched and nothing was created.
    EXPECT_EQ(getTextX(1), 0);
    record(1);
    EXPECT_EQ(lastText, "keep");
}

TEST_F(Texts, GettersReturnMinusOneAsAnOrdinaryValueWithoutWarning) {
    createText(3, "a");
    setTextPosition(3, -1, -1);
    EXPECT_EQ(captureStdout([] {
                  EXPECT_EQ(getTextX(3), -1);
                  EXPECT_EQ(getTextY(3), -1);
              }),
              "");
}

TEST_F(Texts, ZeroAndNegativeNumbersAreOrdinary) {
    createText(0, "zero");
    createText(-3, "minus");
    createText(999, "shares a bucket with 0");
    EXPECT_EQ(isValidText(0), 1);
    EXPECT_EQ(isValidText(-3), 1);
    EXPECT_EQ(isValidText(999), 1);
    setTextPosition(999, 5, 6);
    EXPECT_EQ(getTextX(0), 0);
    EXPECT_EQ(getTextX(999), 5);
}

TEST_F(Texts, StringsAreCopiedAndNullCountsAsEmpty) {
    char* buffer = strdup("first");
    createText(1, buffer);
    strcpy(buffer, "XXXXX");
    free(buffer);
    record(1);
    EXPECT_EQ(lastText, "first");

    buffer = strdup("second");
    setText(1, buffer);
    buffer[0] = 'Z';
    free(buffer);
    record(1);
    EXPECT_EQ(lastText, "second");

    setText(1, nullptr);
    record(1);
    EXPECT_EQ(lastText, "");
    createText(2, nullptr);
    record(2);
    EXPECT_EQ(lastText, "");
}

TEST_F(Texts, ClearGameUIFreesEveryNumber) {
    createText(1, "a");
    createText(-5, "b");
    clearGameUI();
    EXPECT_EQ(isValidText(1), 0);
    EXPECT_EQ(isValidText(-5), 0);
    createText(1, "again");  // would be fatal if the number were still taken
    EXPECT_EQ(isValidText(1), 1);
    record(1);
    EXPECT_EQ(lastText, "again");
}

TEST(TextsDeathTest, TakenNumberIsFatalWithItsNumber) {
    initEngineTables();
    clearGameUI();
    createText(5, "same");
    // The message box hook shows what reaches the box on stderr.
    EXPECT_EXIT(
        {
            platformSetMessageBoxHook([](const char* text, const char*, int, bool) {
                fprintf(stderr, "box: %s\n", text);
                return 1;
            });
            createText(5, "same");
        },
        ::testing::ExitedWithCode(255), "box: 已经存在编号为5的文本");
    // The parent still has the original text.
    EXPECT_EQ(isValidText(5), 1);
    clearGameUI();
}
