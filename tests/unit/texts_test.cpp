#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/lock.h"
#include "core/tables.h"
#include "platform/seam.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "support/capture.h"
#include "vindle.h"

namespace {

class Texts : public ::testing::Test {
protected:
    void SetUp() override {
        clearGameUI();
    }
    void TearDown() override { clearGameUI(); }

    // The record's fields as the frame sees them; its string is returned
    // through text.
    struct Fields {
        int32_t x, y, fontSize;
        float red, green, blue;
    };
    static Fields record(int id, std::string* text = nullptr) {
        lockEngine();
        const TextRecord* found = textTable.find(id);
        const TextRecord absent;
        const TextRecord& r = found ? *found : absent;
        Fields copy{r.x, r.y, r.fontSize, r.red, r.green, r.blue};
        if (text) *text = found ? found->text : "<absent>";
        unlockEngine();
        return copy;
    }
};

}  // namespace

TEST_F(Texts, DefaultsAndSettersStoreExactlyWhatTheyAreGiven) {
    EXPECT_EQ(captureStdout([] { createText(1, "hello"); }), "");
    Fields r = record(1);
    EXPECT_EQ(r.fontSize, 20);
    EXPECT_EQ(r.red + r.green + r.blue, 0.0f);
    EXPECT_EQ(getTextX(1) + getTextY(1), 0);
    EXPECT_EQ(isTextVisible(1), 1);

    std::string out = captureStdout([] {
        setTextPosition(1, -1, -1);
        setTextColor(1, 255.0f, -0.5f, 1.5f);
        setTextFontSize(1, -7);
        hideText(1);
        hideText(1);
        EXPECT_EQ(getTextX(1), -1);  // an ordinary value, no warning
        EXPECT_EQ(getTextY(1), -1);
        EXPECT_EQ(isTextVisible(1), 0);
        showText(1);
        showText(1);
    });
    EXPECT_EQ(out, "");
    r = record(1);
    EXPECT_EQ(r.red, 255.0f);
    EXPECT_EQ(r.green, -0.5f);
    EXPECT_EQ(r.blue, 1.5f);
    EXPECT_EQ(r.fontSize, -7);
    EXPECT_EQ(isTextVisible(1), 1);
}

TEST_F(Texts, AbsentNumbersWarnAfterTheLockAndChangeNothing) {
    createText(1, "keep");
    int results[3] = {};
    std::string out = captureStdout([&] {
        setTextPosition(7, 1, 2);
        setText(7, "x");
        setTextColor(7, 1, 1, 1);
        setTextFontSize(7, 30);
        hideText(7);
        showText(7);
        results[0] = getTextX(7);
        results[1] = getTextY(7);
        results[2] = isTextVisible(-8);  // -1, not 0
        EXPECT_EQ(isValidText(7), 0);    // silent
    });
    std::string expected;
    for (int i = 0; i < 8; ++i) expected += "不存在编号为7的文本\n";
    EXPECT_EQ(out, expected + "不存在编号为-8的文本\n");
    EXPECT_EQ(results[0] + results[1] + results[2], -3);
    std::string text;
    EXPECT_EQ(record(1, &text).x, 0);
    EXPECT_EQ(text, "keep");
}

TEST_F(Texts, StringsAreCopiedAndNullCountsAsEmpty) {
    std::string text;
    char* buffer = strdup("first");
    createText(1, buffer);
    strcpy(buffer, "XXXXX");
    free(buffer);
    record(1, &text);
    EXPECT_EQ(text, "first");

    buffer = strdup("你好");
    setText(1, buffer);
    free(buffer);
    record(1, &text);
    EXPECT_EQ(text, "你好");

    setText(1, nullptr);
    record(1, &text);
    EXPECT_EQ(text, "");
    createText(2, nullptr);
    record(2, &text);
    EXPECT_EQ(text, "");
}

TEST_F(Texts, AnyNumberIsValidUntilClearGameUIFreesThemAll) {
    createText(0, "zero");
    createText(-3, "minus");
    createText(999, "shares bucket 0");
    setTextPosition(999, 5, 6);
    EXPECT_EQ(isValidText(-3), 1);
    EXPECT_EQ(getTextX(0), 0);
    EXPECT_EQ(getTextX(999), 5);
    clearGameUI();
    EXPECT_EQ(isValidText(0) + isValidText(-3) + isValidText(999), 0);
    createText(-3, "again");  // fatal if the number were still taken
    EXPECT_EQ(isValidText(-3), 1);
}

TEST(TextsDeathTest, TakenNumberIsFatalWithItsNumber) {
    clearGameUI();
    createText(5, "same");
    EXPECT_EXIT(
        {
            // Shows on stderr what reaches the message box.
            platformSetMessageBoxHook([](const char* text, const char*, int, bool) {
                fprintf(stderr, "box: %s\n", text);
                return 1;
            });
            createText(5, "same");
        },
        ::testing::ExitedWithCode(255), "box: 已经存在编号为5的文本");
    EXPECT_EQ(isValidText(5), 1);
    clearGameUI();
}
