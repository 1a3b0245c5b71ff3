#include <gtest/gtest.h>
#include <unistd.h>
#if !defined(_WIN32)
#include <iconv.h>
#endif

#include <cstring>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/process.h"
#include "platform/seam.h"
#include "support/capture.h"
#include "support/fatal.h"
#include "support/temp_resources.h"

namespace {

std::string formatted(size_t size, const char* format, ...) {
    std::string buffer(size, '#');
    va_list arguments;
    va_start(arguments, format);
    formatMessage(&buffer[0], size, format, arguments);
    va_end(arguments);
    return buffer;
}

}  // namespace

TEST(FormatMessage, FormatsZeroFillsAndCutsAtTheBufferEnd) {
    std::string eight = formatted(8, "%d-%s", 42, "ab");
    EXPECT_EQ(eight, std::string("42-ab\0\0\0", 8));

    std::string cut = formatted(8, "%s", "0123456789");
    EXPECT_EQ(cut, std::string("0123456\0", 8));

    std::string plain = formatted(32, "错误码：");
    EXPECT_STREQ(plain.c_str(), "错误码：");

    std::string empty = formatted(4, nullptr);
    EXPECT_EQ(empty, std::string(4, '\0'));
}

TEST(PrintWarning, PrintsOnePlainLineWhenStdoutIsNotATerminal) {
    std::string out = captureStdout([] { printWarning("不存在编号为%d的文本", -7); });
    EXPECT_EQ(out, "不存在编号为-7的文本\n");
}

TEST(PrintWarning, CutsLongMessagesAt1023Bytes) {
    std::string longText(5000, 'w');
    std::string out = captureStdout([&] { printWarning("%s", longText.c_str()); });
    EXPECT_EQ(out, std::string(1023, 'w') + "\n");
}

TEST(PrintWarning, LinesFromSeveralThreadsAtOnceStayWhole) {
    // A game's threads warn while another prints lines of its own.
    const std::string out = captureStdout([] {
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([t] {
                for (int i = 0; i < 500; ++i) printWarning("不存在编号为%d的文本", t);
            });
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i) printf("rss %d\n", i);
        });
        for (std::thread& thread : threads) thread.join();
        fflush(stdout);
    });
    std::istringstream lines(out);
    int whole = 0;
    for (std::string line; std::getline(lines, line);) {
        const bool known = line.rfind("rss ", 0) == 0 ||
                           (line.size() == strlen("不存在编号为0的文本") && line.rfind("不存在编号为", 0) == 0);
        EXPECT_TRUE(known) << "a line made of parts of others: " << line;
        whole += known;
    }
    EXPECT_EQ(whole, 2500);
}

TEST(FatalErrorDeathTest, MessageIsOnStdoutAndTheBoxGetsCaptionAndStyle) {
    // Cut at 10239 bytes: "图片 " (7 bytes in UTF-8, 5 in code page 936) and
    // the start of the path.
    const std::string head = "图片 ", cut = head + std::string(10239 - head.size(), 'p');
    EXPECT_EXIT(
        {
            platformSetMessageBoxHook([](const char* text, const char* caption, int style, bool owned) {
                fprintf(stderr, "box[%s|%s|%d|%d]", text, caption, style, owned ? 1 : 0);
                return 1;
            });
            // Route stdout to stderr so the death test can see both, in order.
            dup2(2, 1);
            std::string longPath(20000, 'p');
            fatalError("图片 %s 文件不存在！", longPath.c_str());
        },
        ::testing::ExitedWithCode(kFatalStatus),
        "^" + literally(cut) + "\n.*" + literally("box[" + cut + "|遇到严重错误，程序即将退出！|16|0]"));
}

TEST(FatalErrorDeathTest, GbkNamesInsideMessagesReachTheConsoleAsUtf8) {
    // 背景.png from a GBK game inside the engine's own UTF-8 text.
    EXPECT_EXIT(
        {
            platformSetMessageBoxHook([](const char*, const char*, int, bool) { return 1; });
            dup2(2, 1);
            fatalError("图片 %s 文件不存在！", "Images/\xb1\xb3\xbe\xb0.png");
        },
        ::testing::ExitedWithCode(kFatalStatus), "^图片 Images/背景.png 文件不存在！\n");
    const std::string warned = captureStdout([] { printWarning("%s精灵", "\xd0\xa1\xcb\xb5"); });
    EXPECT_EQ(warned, "小说精灵\n");
}

// The Windows build compiles the texts to code page 936: a character outside
// it would break that build, not this one (which is why it is not run there).
#if !defined(_WIN32)
TEST(Messages, EveryTextIsNonEmptyAndHasACodePage936Form) {
    iconv_t toCp936 = iconv_open("CP936", "UTF-8");
    ASSERT_NE(toCp936, reinterpret_cast<iconv_t>(-1));
    for (int i = 0; i < static_cast<int>(MessageId::kCount); ++i) {
        std::string text = messageText(static_cast<MessageId>(i));
        EXPECT_FALSE(text.empty()) << i;
        std::string out(text.size() * 2 + 1, '\0');
        char* in = &text[0];
        char* to = &out[0];
        size_t inLeft = text.size(), outLeft = out.size();
        EXPECT_NE(iconv(toCp936, &in, &inLeft, &to, &outLeft), static_cast<size_t>(-1)) << text;
        EXPECT_EQ(inLeft, 0u) << text;
    }
    iconv_close(toCp936);
    EXPECT_STREQ(messageText(MessageId::kMsgDialogCaptionId), kMsgDialogCaption);
}
#endif

// The hint about a forgotten zqInit is for games that never called the engine:
// every function of the header counts as a call (zqInit, which starts the
// window, is covered by the console test's normal run).
TEST(ExitHint, EveryFunctionOfTheHeaderCountsAsACallOfTheEngine) {
    TempResources res;
    ASSERT_TRUE(writePng(res.file("Images/a.png"), solidPicture(1, 1, {1, 2, 3})));
    ASSERT_TRUE(writePng(res.file("Sprites/s/walk/1.png"), solidPicture(1, 1, {1, 2, 3})));
    res.file("Sounds/a.wav", "RIFF");
    setResourcesDir(res.root().c_str());
    clearGameUI();
    platformSetMessageBoxHook([](const char*, const char*, int, bool) -> int { return PLATFORM_BOX_IDOK; });
    platformSetSoundHooks([](const char*, bool) { return 0; }, [](const char*) { return 0; });
    const std::vector<std::pair<std::string, std::function<void()>>> calls = {
        {"setGameSize", [] { setGameSize(800, 600); }},
        {"getGameWidth", [] { getGameWidth(); }},
        {"getGameHeight", [] { getGameHeight(); }},
        {"setViewPortPosition", [] { setViewPortPosition(0, 0); }},
        {"getViewPortPositionX", [] { getViewPortPositionX(); }},
        {"getViewPortPositionY", [] { getViewPortPositionY(); }},
        {"setBgColor", [] { setBgColor(1, 1, 1); }},
        {"setGameTitle", [] { setGameTitle("t"); }},
        {"getZQGameVersion", [] { getZQGameVersion(); }},
        {"pauseGame", [] { pauseGame(0); }},
        {"asyncRun", [] { asyncRun(nullptr, nullptr); }},
        {"setResourcesDir", [&] { setResourcesDir(res.root().c_str()); }},
        {"clearGameUI", [] { clearGameUI(); }},
        {"createText", [] { createText(1, "t"); }},
        {"setTextPosition", [] { setTextPosition(1, 0, 0); }},
        {"setText", [] { setText(1, "t"); }},
        {"setTextColor", [] { setTextColor(1, 0, 0, 0); }},
        {"setTextFontSize", [] { setTextFontSize(1, 20); }},
        {"hideText", [] { hideText(1); }},
        {"showText", [] { showText(1); }},
        {"getTextX", [] { getTextX(1); }},
        {"getTextY", [] { getTextY(1); }},
        {"isTextVisible", [] { isTextVisible(1); }},
        {"isValidText", [] { isValidText(1); }},
        {"createImage", [] { createImage(1, "a.png"); }},
        {"setImagePosition", [] { setImagePosition(1, 0, 0); }},
        {"setImageSource", [] { setImageSource(1, "a.png"); }},
        {"showImage", [] { showImage(1); }},
        {"hideImage", [] { hideImage(1); }},
        {"getImageX", [] { getImageX(1); }},
        {"getImageY", [] { getImageY(1); }},
        {"getImageWidth", [] { getImageWidth(1); }},
        {"getImageHeight", [] { getImageHeight(1); }},
        {"isImageVisible", [] { isImageVisible(1); }},
        {"isValidImage", [] { isValidImage(1); }},
        {"createSprite", [] { createSprite(1, "s"); }},
        {"setSpritePosition", [] { setSpritePosition(1, 0, 0); }},
        {"setSpriteFlipX", [] { setSpriteFlipX(1, 0); }},
        {"setSpriteFlipY", [] { setSpriteFlipY(1, 0); }},
        {"hideSprite", [] { hideSprite(1); }},
        {"showSprite", [] { showSprite(1); }},
        {"setSpriteRepeatPlay", [] { setSpriteRepeatPlay(1, 1); }},
        {"getSpriteX", [] { getSpriteX(1); }},
        {"getSpriteY", [] { getSpriteY(1); }},
        {"getSpriteWidth", [] { getSpriteWidth(1); }},
        {"getSpriteHeight", [] { getSpriteHeight(1); }},
        {"isSpriteVisible", [] { isSpriteVisible(1); }},
        {"isValidSprite", [] { isValidSprite(1); }},
        {"playSpriteAnimate", [] { playSpriteAnimate(1, "walk"); }},
        {"getMousePositionX", [] { getMousePositionX(); }},
        {"getMousePositionY", [] { getMousePositionY(); }},
        {"isMouseLeftButtonDown", [] { isMouseLeftButtonDown(); }},
        {"showMouseCursor", [] { showMouseCursor(); }},
        {"hideMouseCursor", [] { hideMouseCursor(); }},
        {"getPressedKeyCode", [] { getPressedKeyCode(); }},
        {"getPressedNormalKeyCode", [] { getPressedNormalKeyCode(); }},
        {"getPressedSpecialKeyCode", [] { getPressedSpecialKeyCode(); }},
        {"onNormalKeyUp", [] { onNormalKeyUp(nullptr); }},
        {"onSpecialKeyUp", [] { onSpecialKeyUp(nullptr); }},
        {"playSound", [] { playSound("a.wav", 0); }},
        {"closeSound", [] { closeSound("a.wav"); }},
        {"alert", [] { alert("a"); }},
        {"confirm", [] { confirm("a"); }},
    };
    std::istringstream header(VINDLE_API_NAMES);
    std::vector<std::string> names{std::istream_iterator<std::string>(header), {}}, called;
    for (const auto& [name, call] : calls) {
        forgetApiCalls();
        call();
        EXPECT_TRUE(apiCalled()) << name;
        called.push_back(name);
    }
    called.insert(called.begin(), "zqInit");
    EXPECT_EQ(called, names);
    clearGameUI();
    setResourcesDir("");
    platformSetMessageBoxHook(nullptr);
    platformSetSoundHooks(nullptr, nullptr);
}
