// Writes the fuzzer's seed corpus into the folder given: small pictures of
// every colour type and bit depth, plain and interlaced, with transparency
// and text chunks, made by the tests' own PNG writer.
#include <cstdio>
#include <string>

#include "support/pngfiles.h"

namespace {

int channels(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        default: return 1;
    }
}

PngPicture picture(int colorType, int bitDepth, bool interlaced) {
    PngPicture p;
    p.width = 7;
    p.height = 5;
    p.colorType = colorType;
    p.bitDepth = bitDepth;
    p.interlaced = interlaced;
    const size_t rowBytes = (static_cast<size_t>(p.width) * channels(colorType) * bitDepth + 7) / 8;
    const int levels = bitDepth >= 8 ? 256 : 1 << bitDepth;
    for (int y = 0; y < p.height; ++y)
        for (size_t i = 0; i < rowBytes; ++i) p.rows.push_back(static_cast<png_byte>((y * 37 + i * 11) & 0xff));
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < levels; ++i)
            p.palette.push_back(png_color{static_cast<png_byte>(i), static_cast<png_byte>(255 - i),
                                          static_cast<png_byte>(i * 3)});
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    struct Kind {
        int colorType;
        std::vector<int> depths;
    };
    const Kind kinds[] = {{PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}},
                          {PNG_COLOR_TYPE_RGB, {8, 16}},
                          {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}},
                          {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}},
                          {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}}};
    int written = 0, failed = 0;
    for (const Kind& kind : kinds)
        for (int depth : kind.depths)
            for (int variant = 0; variant < 3; ++variant) {
                PngPicture p = picture(kind.colorType, depth, variant == 1);
                if (variant == 2) {
                    // Transparency and the three kinds of text chunk.
                    if (kind.colorType == PNG_COLOR_TYPE_PALETTE) p.paletteAlpha = {0, 128, 255};
                    if (kind.colorType == PNG_COLOR_TYPE_GRAY || kind.colorType == PNG_COLOR_TYPE_RGB) {
                        p.hasTransparentColor = true;
                        p.transparentColor.gray = 1;
                        p.transparentColor.red = 1;
                    }
                    p.texts = {{"Title", "seed", PNG_TEXT_COMPRESSION_NONE},
                               {"Comment", std::string(200, 'z'), PNG_TEXT_COMPRESSION_zTXt},
                               {"Author", "vindle", PNG_ITXT_COMPRESSION_zTXt}};
                }
                const std::string name = folder + "/seed-" + std::to_string(kind.colorType) + "-" +
                                         std::to_string(depth) + "-" + std::to_string(variant) + ".png";
                if (writePng(name, p))
                    ++written;
                else
                    ++failed;
            }
    // A text chunk that claims 453 MB in a file of a few hundred bytes: what
    // it claims must cost nothing.
    std::string bytes = readBytes(folder + "/seed-2-8-0.png");
    const size_t afterHeader = 8 + 4 + 4 + 13 + 4;
    if (bytes.size() > afterHeader) {
        bytes.insert(afterHeader, std::string("\x1b\x00\x1f\x40zTXtComment\0\0xxxxxxxx", 25));
        writeBytes(folder + "/seed-text-claims-453mb.png", bytes);
        ++written;
    }
    printf("%d seeds written\n", written);
    return failed ? 1 : 0;
}
