#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/lock.h"
#include "core/messages.h"
#include "scene/png.h"
#include "support/fatal.h"
#include "support/pngfiles.h"

namespace {

struct Loaded {
    const unsigned char* pixels = nullptr;
    int width = -1, height = -1, colorType = -1;
    std::string path;  // the path as loadPng left it
};

Loaded load(const std::string& path) {
    Loaded result;
    result.path = path;
    result.pixels = loadPng(result.path, &result.width, &result.height, &result.colorType);
    return result;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string withPath(const char* format, const std::string& path) {
    std::string text = format;
    return text.replace(text.find("%s"), 2, path);
}

class PngLoad : public ::testing::Test {
protected:
    TempDir dir;
    // The lower-cased temp paths are fresh each test, so the shared cache
    // never serves one test's file to another.
    std::string write(const std::string& name, const PngPicture& picture) {
        std::string path = dir.file(name);
        EXPECT_TRUE(writePng(path, picture)) << name;
        return path;
    }
};

TEST_F(PngLoad, RgbRowsAreFlippedAndPaddedToFourBytes) {
    const size_t strides[] = {4, 8, 12, 12, 16};
    for (int width = 1; width <= 5; ++width) {
        Loaded png = load(write("rgb" + std::to_string(width) + ".png", patternPicture(width, 3, 3)));
        ASSERT_NE(png.pixels, nullptr);
        EXPECT_EQ(png.colorType, 2);
        EXPECT_EQ(rgbRowSize(width), strides[width - 1]);
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < width; ++x)
                for (int s = 0; s < 3; ++s)
                    ASSERT_EQ(png.pixels[row * strides[width - 1] + x * 3 + s], sampleAt(x, 2 - row, s))
                        << "width " << width << " block row " << row;
    }
}

TEST_F(PngLoad, RgbaRowsAreFlippedAndUnpadded) {
    Loaded png = load(write("rgba.png", patternPicture(3, 4, 4)));
    ASSERT_NE(png.pixels, nullptr);
    EXPECT_EQ(png.colorType, 6);
    EXPECT_EQ(png.width, 3);
    EXPECT_EQ(png.height, 4);
    for (int row = 0; row < 4; ++row)
        for (int x = 0; x < 3; ++x)
            for (int s = 0; s < 4; ++s) ASSERT_EQ(png.pixels[row * 12 + x * 4 + s], sampleAt(x, 3 - row, s));
}

TEST_F(PngLoad, PaletteAndTransparencyExpandToRgbOrRgba) {
    PngPicture palette;
    palette.width = 2;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{10, 20, 30}, {200, 150, 100}};
    palette.rows = {1, 0};
    Loaded opaque = load(write("palette.png", palette));
    ASSERT_NE(opaque.pixels, nullptr);
    EXPECT_EQ(opaque.colorType, 2);
    EXPECT_EQ(0, memcmp(opaque.pixels, "\xc8\x96\x64\x0a\x14\x1e", 6));

    palette.paletteAlpha = {0, 128};
    Loaded clear = load(write("palette-trns.png", palette));
    ASSERT_NE(clear.pixels, nullptr);
    EXPECT_EQ(clear.colorType, 6);
    EXPECT_EQ(0, memcmp(clear.pixels, "\xc8\x96\x64\x80\x0a\x14\x1e\x00", 8));

    PngPicture keyed = solidPicture(2, 1, {5, 6, 7});
    keyed.rows[3] = 9;  // the second pixel differs from the key colour
    keyed.hasTransparentColor = true;
    keyed.transparentColor.red = 5, keyed.transparentColor.green = 6, keyed.transparentColor.blue = 7;
    Loaded rgbKey = load(write("rgb-trns.png", keyed));
    ASSERT_NE(rgbKey.pixels, nullptr);
    EXPECT_EQ(rgbKey.colorType, 6);
    EXPECT_EQ(0, memcmp(rgbKey.pixels, "\x05\x06\x07\x00\x09\x06\x07\xff", 8));
}

TEST_F(PngLoad, SixteenBitSamplesAreReducedToEightBits) {
    PngPicture deep;
    deep.width = 2;
    deep.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.bitDepth = 16;
    deep.rows = {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xff, 0xff, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x00, 0x00};
    Loaded png = load(write("deep.png", deep));
    ASSERT_NE(png.pixels, nullptr);
    EXPECT_EQ(png.colorType, 6);
    EXPECT_EQ(0, memcmp(png.pixels, "\x12\x56\x9a\xff\x01\x03\x05\x00", 8));
}

TEST_F(PngLoad, InterlacedPictureDecodesLikeAPlainOne) {
    PngPicture picture = patternPicture(5, 5, 3);
    picture.interlaced = true;
    Loaded png = load(write("interlaced.png", picture));
    ASSERT_NE(png.pixels, nullptr);
    for (int row = 0; row < 5; ++row)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(png.pixels[row * 16 + x * 3 + 1], sampleAt(x, 4 - row, 1));
}

TEST_F(PngLoad, GreyPicturesExpandToRgbOrRgbaAndBadFilesGiveNull) {
    // What ImageMagick writes for a black-and-white picture: 8-bit, 1-bit and
    // grey with alpha, each sample copied into red, green and blue.
    PngPicture grey;
    grey.width = 2;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {7, 200};
    Loaded png = load(write("grey.png", grey));
    ASSERT_NE(png.pixels, nullptr);
    EXPECT_EQ(png.colorType, 2);
    EXPECT_EQ(0, memcmp(png.pixels, "\x07\x07\x07\xc8\xc8\xc8", 6));
    grey.bitDepth = 1;
    grey.rows = {0x80};
    png = load(write("grey1.png", grey));
    ASSERT_NE(png.pixels, nullptr);
    EXPECT_EQ(png.colorType, 2);
    EXPECT_EQ(0, memcmp(png.pixels, "\xff\xff\xff\x00\x00\x00", 6));
    grey.bitDepth = 8;
    grey.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    grey.rows = {7, 8, 9, 10};
    png = load(write("grey-alpha.png", grey));
    ASSERT_NE(png.pixels, nullptr);
    EXPECT_EQ(png.colorType, 6);
    EXPECT_EQ(0, memcmp(png.pixels, "\x07\x07\x07\x08\x09\x09\x09\x0a", 8));

    const std::string good = readBytes(write("good.png", patternPicture(8, 8, 3)));
    std::string badData = good, badCrc = good;
    badData[good.find("IDAT") + 6] ^= 0x55;
    badCrc[29] ^= 0x55;  // the checksum of the header chunk
    const std::string bad[] = {"", "GIF89a not a png at all", good.substr(0, 8), good.substr(0, good.size() / 2),
                               badData, badCrc};
    for (size_t i = 0; i < std::size(bad); ++i) {
        writeBytes(dir.file("bad" + std::to_string(i) + ".png"), bad[i]);
        Loaded png = load(dir.file("bad" + std::to_string(i) + ".png"));
        EXPECT_EQ(png.pixels, nullptr) << "bad file " << i;
        EXPECT_EQ(pngCache.find(png.path), nullptr) << "bad file " << i;
    }
}

TEST_F(PngLoad, PicturesAreBoundByTheirMemoryNotByASide) {
    // RGBA headers followed by a few bytes of image data: refused for their
    // size before anything is allocated, and said to be.
    for (auto [width, height] : {std::pair<uint32_t, uint32_t>{100000, 100000},
                                 {0x7fffffff, 1},
                                 {1, 0x7fffffff},
                                 {0x7fffffff, 0x7fffffff},
                                 {11586, 11586}}) {
        writeBytes(dir.file("huge.png"), pngHeaderOnly(width, height));
        std::string path = dir.file("huge.png");
        int w, h, type;
        bool tooLarge = false;
        EXPECT_EQ(loadPng(path, &w, &h, &type, &tooLarge), nullptr) << width << "x" << height;
        EXPECT_TRUE(tooLarge) << width << "x" << height;
    }
    // Long strips load whichever side is long; a broken file is not too large.
    Loaded wide = load(write("wide.png", solidPicture(20000, 3, {1, 2, 3})));
    ASSERT_NE(wide.pixels, nullptr);
    EXPECT_EQ(wide.width, 20000);
    EXPECT_EQ(wide.pixels[3 * 19999 + 2], 3);
    EXPECT_NE(load(write("tall.png", solidPicture(2, 40000, {1, 2, 3}))).pixels, nullptr);
    writeBytes(dir.file("broken.png"), "\x89PNG\r\n\x1a\n broken");
    std::string broken = dir.file("broken.png");
    int w, h, type;
    bool tooLarge = true;
    EXPECT_EQ(loadPng(broken, &w, &h, &type, &tooLarge), nullptr);
    EXPECT_FALSE(tooLarge);
}

TEST_F(PngLoad, CacheServesTheFirstPictureByLowerCasedPath) {
    const std::string path = write("Bg.PNG", solidPicture(2, 2, {1, 2, 3}));
    Loaded first = load(path);
    ASSERT_NE(first.pixels, nullptr);
    EXPECT_EQ(first.path, lower(dir.file("bg.png")));  // the caller's buffer is lower-cased
    EXPECT_NE(pngCache.find(first.path), nullptr);

    // Changed on disk: the old picture is still served, for any letter case.
    writePng(path, solidPicture(7, 5, {9, 9, 9}));
    for (const std::string& spelling : {path, dir.file("BG.png"), dir.file("bg.png")}) {
        Loaded again = load(spelling);
        EXPECT_EQ(again.pixels, first.pixels) << spelling;
        EXPECT_EQ(again.width, 2);
        EXPECT_EQ(again.colorType, 2);
    }
    // A doubled separator is another key, so the file is decoded again.
    Loaded doubled = load(dir.path() + systemPath("//Bg.PNG"));
    ASSERT_NE(doubled.pixels, nullptr);
    EXPECT_NE(doubled.pixels, first.pixels);
    EXPECT_EQ(doubled.width, 7);
}

TEST_F(PngLoad, OfTwoDecodesOfOneFileTheFirstCachedIsKept) {
    // Two threads that miss the cache for one file both decode it; the one
    // that stores second gets the first picture and its own copy is freed
    // (the leak checker of the sanitizer build would see it otherwise).
    const std::string path = write("twice.png", patternPicture(3, 2, 4));
    std::string key = lower(path);
    PngCacheEntry first = decodePngFile(path.c_str()), second = decodePngFile(path.c_str());
    ASSERT_NE(first.pixels, nullptr);
    ASSERT_NE(second.pixels, nullptr);
    ASSERT_NE(first.pixels, second.pixels);
    lockEngine();
    const int entriesBefore = pngCache.size();
    EXPECT_EQ(cachePng(key, first).pixels, first.pixels);
    PngCacheEntry kept = cachePng(key, second);
    const int entriesAfter = pngCache.size();
    unlockEngine();
    EXPECT_EQ(kept.pixels, first.pixels);
    EXPECT_EQ(kept.width, 3);
    EXPECT_EQ(kept.colorType, 6);
    EXPECT_EQ(entriesAfter, entriesBefore + 1);
    EXPECT_EQ(load(path).pixels, first.pixels);
}

TEST_F(PngLoad, WindowsStyleNamesFindTheFile) {
    write("Pic.png", solidPicture(1, 1, {4, 5, 6}));
    std::string windowsName = dir.path() + "\\PIC.PNG";
    Loaded png = load(windowsName);
    ASSERT_NE(png.pixels, nullptr);
    EXPECT_EQ(0, memcmp(png.pixels, "\x04\x05\x06", 3));
}

TEST_F(PngLoad, GbkNamesFindTheirUtf8FilesAndKeepTrailBytesWhenLowerCased) {
    // 圖 is 0x88 0x44 in GBK and 坉 0x88 0x64: lowering the 'D' of the first
    // would give it the second one's key.
    write("圖.png", solidPicture(1, 1, {1, 2, 3}));
    write("坉.png", solidPicture(1, 1, {4, 5, 6}));
    write("背景.png", solidPicture(1, 1, {7, 8, 9}));
    Loaded first = load(dir.path() + "/\x88\x44.png"), second = load(dir.path() + "/\x88\x64.PNG");
    ASSERT_NE(first.pixels, nullptr);
    ASSERT_NE(second.pixels, nullptr);
    EXPECT_EQ(0, memcmp(first.pixels, "\x01\x02\x03", 3));
    EXPECT_EQ(0, memcmp(second.pixels, "\x04\x05\x06", 3));
    EXPECT_EQ(first.path, lower(dir.path()) + "/\x88\x44.png");
    Loaded background = load(dir.path() + "/\xb1\xb3\xbe\xb0.png");
    ASSERT_NE(background.pixels, nullptr);
    EXPECT_EQ(0, memcmp(background.pixels, "\x07\x08\x09", 3));
}

using PngLoadDeath = PngLoad;

TEST_F(PngLoadDeath, MissingFileIsFatalWithThePathAsGiven) {
    const std::string path = write("Gone.PNG", solidPicture(1, 1, {1, 1, 1}));
    ASSERT_NE(load(path).pixels, nullptr);
    std::filesystem::remove(path);
    // Deleted after its first load: the existence test comes before the cache.
    EXPECT_EXIT({ reportFatalBoxes(); load(path); }, ::testing::ExitedWithCode(kFatalStatus),
                boxShowing(withPath(kMsgPngMissing, path)));
    EXPECT_EXIT({ reportFatalBoxes(); load(dir.file("Nothing.JPG")); }, ::testing::ExitedWithCode(kFatalStatus),
                boxShowing(withPath(kMsgPngMissing, dir.file("Nothing.JPG"))));
    const std::string tooLong = dir.path() + "/" + std::string(32000, 'a') + ".png";
    // The message buffer cuts the text; what fits is shown.
    EXPECT_EXIT({ reportFatalBoxes(); load(tooLong); },
                ::testing::ExitedWithCode(kFatalStatus), boxShowing(withPath(kMsgPngMissing, tooLong).substr(0, 10239)));
}

TEST_F(PngLoadDeath, OtherSuffixIsFatalWithTheLowerCasedPath) {
    for (const char* name : {"X.PNG.bak", "X.jpg", "PNG"}) {
        const std::string path = write(name, solidPicture(1, 1, {1, 1, 1}));
        EXPECT_EXIT({ reportFatalBoxes(); load(path); }, ::testing::ExitedWithCode(kFatalStatus),
                    boxShowing(withPath(kMsgPngNotPng, lower(path))))
            << name;
    }
}

}  // namespace
