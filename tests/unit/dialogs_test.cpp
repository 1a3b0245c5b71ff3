#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/seam.h"
#include "support/capture.h"
#include "support/environment.h"
#include "vindle.h"

namespace {

struct ShownBox {
    std::string text;
    std::string caption;
    int style = -1;
    bool owned = false;
    int count = 0;
};
ShownBox shown;
int answer = PLATFORM_BOX_FAILED;

int recordBox(const char* text, const char* caption, int style, bool ownedByGameWindow) {
    shown.text = text;
    shown.caption = caption;
    shown.style = style;
    shown.owned = ownedByGameWindow;
    ++shown.count;
    return answer;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        shown = ShownBox{};
        answer = PLATFORM_BOX_IDOK;
        platformSetMessageBoxHook(recordBox);
    }
    void TearDown() override { platformSetMessageBoxHook(nullptr); }
};

}  // namespace

TEST_F(Dialogs, FormatTheMessageAsPrintfWould) {
    alert("得分：%d", 42);
    EXPECT_EQ(shown.text, "得分：42");
    confirm("第%d关，%s？", 3, "继续");
    EXPECT_EQ(shown.text, "第3关，继续？");
    alert("没有转换的文字");
    EXPECT_EQ(shown.text, "没有转换的文字");
    const char* empty = "";
    confirm(empty);
    EXPECT_EQ(shown.text, "");
    EXPECT_EQ(shown.count, 4);
}

TEST_F(Dialogs, CutALongMessageAt1023Bytes) {
    std::string longText(5000, 'x');
    for (size_t i = 0; i < longText.size(); i += 7) longText[i] = static_cast<char>('a' + i % 26);
    alert("%s", longText.c_str());
    EXPECT_EQ(shown.text, longText.substr(0, 1023));
    confirm("%s!", longText.c_str());
    EXPECT_EQ(shown.text, longText.substr(0, 1023));
}

TEST_F(Dialogs, UseTheCaptionAndStyleOfEachFunctionOwnedByTheGameWindow) {
    alert("a");
    EXPECT_EQ(shown.caption, "提示");
    EXPECT_EQ(shown.style, PLATFORM_BOX_OK);
    EXPECT_TRUE(shown.owned);
    confirm("b");
    EXPECT_EQ(shown.caption, "提示");
    EXPECT_EQ(shown.style, PLATFORM_BOX_YESNO_QUESTION);
    EXPECT_TRUE(shown.owned);
}

TEST_F(Dialogs, ConfirmIsOneForYesOnly) {
    answer = PLATFORM_BOX_IDYES;
    EXPECT_EQ(confirm("?"), 1);
    answer = PLATFORM_BOX_IDNO;
    EXPECT_EQ(confirm("?"), 0);
    answer = PLATFORM_BOX_FAILED;
    EXPECT_EQ(confirm("?"), 0);
    answer = PLATFORM_BOX_IDOK;
    EXPECT_EQ(confirm("?"), 0);
}

TEST_F(Dialogs, AlertGivesTheBoxResult) {
    answer = PLATFORM_BOX_IDOK;
    EXPECT_EQ(alert("!"), 1);
    answer = PLATFORM_BOX_FAILED;
    EXPECT_EQ(alert("!"), 0);
}

TEST(DialogsWithoutDisplay, FailQuietly) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows always has a desktop to show a box on";
#endif
    const char* saved = getenv("DISPLAY");
    std::string display = saved ? saved : "";
    setEnvironment("DISPLAY", nullptr);
    int boxResult = -1, confirmed = -1, alerted = -1;
    std::string out = captureStdout([&] {
        boxResult = platformMessageBox("text", "提示", PLATFORM_BOX_OK, false);
        confirmed = confirm("再玩一次？");
        alerted = alert("提示");
    });
    if (saved) setEnvironment("DISPLAY", display.c_str());
    EXPECT_EQ(boxResult, PLATFORM_BOX_FAILED);
    EXPECT_EQ(confirmed, 0);
    EXPECT_EQ(alerted, 0);
    EXPECT_EQ(out, "");
}
