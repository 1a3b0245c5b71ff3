#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/messages.h"
#include "core/tables.h"
#include "scene/objects.h"
#include "scene/records.h"
#include "support/capture.h"
#include "support/fatal.h"
#include "support/pngfiles.h"
#include "vindle.h"

namespace {

class Images : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override {
        clearGameUI();
        std::filesystem::create_directory(dir.file("Images"));
        setResourcesDir(dir.path().c_str());
    }
    void picture(const std::string& name, int width, int height) {
        ASSERT_TRUE(writePng(dir.file("Images/" + name), solidPicture(width, height, {1, 2, 3, 4})));
    }
    std::string builtPath(const std::string& name) { return dir.path() + systemPath("/Images/") + name; }
    static const ImageRecord* record(int id) {
        return imageTable.find(id);
    }
};

std::string expand(const char* format, const std::string& value) {
    std::string text = format;
    size_t at = text.find('%');
    return text.replace(at, 2, value);
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(Images, NewImageIsVisibleAtTheOriginWithThePictureSize) {
    picture("Wide.png", 64, 32);
    std::string out = captureStdout([] {
        createImage(1, "WIDE.PNG");  // Windows ignores letter case
        createImage(-3, "wide.png");
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(getImageWidth(1), 64);
    EXPECT_EQ(getImageHeight(1), 32);
    EXPECT_EQ(getImageX(1), 0);
    EXPECT_EQ(getImageY(1), 0);
    EXPECT_EQ(isImageVisible(1), 1);
    EXPECT_EQ(isValidImage(-3), 1);
    EXPECT_EQ(record(1)->colorType, 6);
    EXPECT_EQ(record(1)->pixels, record(-3)->pixels);  // one decoded block, shared
}

TEST_F(Images, SettersAndGettersWorkOnTheirImageOnly) {
    picture("a.png", 4, 4);
    createImage(1, "a.png");
    createImage(2, "a.png");
    setImagePosition(1, -1, 250);
    hideImage(1);
    EXPECT_EQ(captureStdout([] { EXPECT_EQ(getImageX(1), -1); }), "");  // a real -1, no warning
    EXPECT_EQ(getImageY(1), 250);
    EXPECT_EQ(isImageVisible(1), 0);
    EXPECT_EQ(isImageVisible(2), 1);
    EXPECT_EQ(getImageX(2), 0);
    showImage(1);
    showImage(1);
    EXPECT_EQ(isImageVisible(1), 1);
}

TEST_F(Images, AbsentNumbersWarnAndChangeNothing) {
    const std::string warning = expand(kMsgImageMissing, "7") + "\n";
    EXPECT_EQ(captureStdout([] { setImagePosition(7, 1, 2); }), warning);
    EXPECT_EQ(captureStdout([] { showImage(7); }), warning);
    EXPECT_EQ(captureStdout([] { hideImage(7); }), warning);
    // No file is looked at, so a missing one is no fault here.
    EXPECT_EQ(captureStdout([] { setImageSource(7, "nowhere.png"); }), warning);
    int (*getters[])(int) = {getImageX, getImageY, getImageWidth, getImageHeight};
    for (auto getter : getters) EXPECT_EQ(captureStdout([&] { EXPECT_EQ(getter(7), -1); }), warning);
    EXPECT_EQ(captureStdout([] { EXPECT_EQ(isImageVisible(7), -1); }), expand(kMsgImageMissingNoBlank, "7") + "\n");
    EXPECT_EQ(captureStdout([] { EXPECT_EQ(isValidImage(7), 0); }), "");
    EXPECT_EQ(isValidImage(7), 0);
}

TEST_F(Images, NewSourceReplacesThePictureAndKeepsThePlace) {
    picture("small.png", 2, 3);
    picture("big.png", 40, 50);
    createImage(1, "small.png");
    createImage(2, "small.png");
    const unsigned char* shared = record(2)->pixels;
    setImagePosition(1, 5, 6);
    hideImage(1);
    setImageSource(1, "BIG.png");
    EXPECT_EQ(getImageWidth(1), 40);
    EXPECT_EQ(getImageHeight(1), 50);
    EXPECT_EQ(getImageX(1), 5);
    EXPECT_EQ(getImageY(1), 6);
    EXPECT_EQ(isImageVisible(1), 0);
    EXPECT_EQ(getImageWidth(2), 2);
    EXPECT_EQ(record(2)->pixels, shared);
}

TEST_F(Images, ClearingFreesEveryNumberButKeepsDecodedPictures) {
    picture("a.png", 3, 3);
    createImage(0, "a.png");
    const unsigned char* before = record(0)->pixels;
    clearGameUI();
    EXPECT_EQ(isValidImage(0), 0);
    std::filesystem::remove(dir.file("Images/a.png"));
    picture("a.png", 9, 9);  // a changed file is not read again
    createImage(0, "a.png");
    EXPECT_EQ(record(0)->pixels, before);
    EXPECT_EQ(getImageWidth(0), 3);
}

using ImagesDeath = Images;

TEST_F(ImagesDeath, EachLoadFaultEndsTheProcessWithItsMessage) {
    picture("a.png", 2, 2);
    createImage(5, "a.png");
    writeBytes(dir.file("Images/Text.PNG"), "not a picture");
    writeBytes(dir.file("Images/Note.TXT"), "");
    auto dies = [](const std::function<void()>& call, const std::string& message) {
        EXPECT_EXIT({ reportFatalBoxes(); call(); }, ::testing::ExitedWithCode(kFatalStatus), boxShowing(message));
    };
    dies([] { createImage(5, "a.png"); }, "已经存在编号为 5 的图片");
    dies([] { createImage(6, "Gone.PNG"); }, expand(kMsgPngMissing, builtPath("Gone.PNG")));
    dies([] { setImageSource(5, "Gone.PNG"); }, expand(kMsgPngMissing, builtPath("Gone.PNG")));
    dies([] { createImage(6, "Note.TXT"); }, expand(kMsgPngNotPng, lower(builtPath("Note.TXT"))));
    dies([] { createImage(6, "Text.PNG"); }, expand(kMsgImageLoadFailed, lower(builtPath("Text.PNG"))));
    dies([] { setImageSource(5, "Text.PNG"); }, expand(kMsgImageLoadFailed, lower(builtPath("Text.PNG"))));
    writeBytes(dir.file("Images/huge.png"), pngHeaderOnly(100000, 100000));
    dies([] { createImage(6, "huge.png"); }, expand(kMsgPngTooLarge, lower(builtPath("huge.png"))));
    // A pipe named like a picture would block the read with the lock held.
    if (makePipe(dir.file("Images/pipe.png")))
        dies([] { createImage(6, "pipe.png"); }, expand(kMsgPngMissing, builtPath("pipe.png")));
    const std::string longName(32000, 'n');
    dies([&] { createImage(6, longName.c_str()); },
         expand(kMsgPngMissing, builtPath(longName)).substr(0, 10239));
}

}  // namespace
