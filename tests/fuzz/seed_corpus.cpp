// Writes a fuzz target's seed corpus into the folder given: for png, small
// pictures of every colour type and bit depth, plain and interlaced, with
// transparency and text chunks, made by the tests' own PNG writer; for sound,
// short WAVs in every encoding and MP3s, written by libsndfile; for text,
// game strings in UTF-8 and GBK.
#include <cstdio>
#include <cstring>
#include <string>

#include "support/pngfiles.h"
#include "support/sound_files.h"

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

int pngSeeds(const std::string& folder) {
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

int soundSeeds(const std::string& folder) {
    const int wav = SF_FORMAT_WAV, mp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    const int formats[] = {wav | SF_FORMAT_PCM_U8,  wav | SF_FORMAT_PCM_16,    wav | SF_FORMAT_PCM_24,
                           wav | SF_FORMAT_PCM_32,  wav | SF_FORMAT_FLOAT,     wav | SF_FORMAT_DOUBLE,
                           wav | SF_FORMAT_ALAW,    wav | SF_FORMAT_ULAW,      wav | SF_FORMAT_IMA_ADPCM,
                           wav | SF_FORMAT_MS_ADPCM, wav | SF_FORMAT_GSM610,   mp3};
    int written = 0, failed = 0;
    for (const int format : formats) {
        // GSM 6.10 is for 8 kHz mono only.
        const bool small = (format & SF_FORMAT_SUBMASK) == SF_FORMAT_GSM610;
        const std::string name = folder + "/seed-" + std::to_string(format) + (format == mp3 ? ".mp3" : ".wav");
        if (writeToneFile(name, format, small ? 8000 : 22050, small ? 1 : 2, 440, 60))
            ++written;
        else
            ++failed;
    }
    printf("%d seeds written\n", written);
    return failed ? 1 : 0;
}

int textSeeds(const std::string& folder) {
    // The first byte picks the encoding (detected, GBK, UTF-8); NULs part strings.
    // Every byte of a literal but its terminator.
    auto bytes = [](const auto& literal) { return std::string(literal, sizeof literal - 1); };
    const std::string seeds[] = {
        bytes("\0score 1\0"),
        bytes("\0你好，世界\0C:\\游戏\\Images\\背景.PNG"),
        bytes("\0\xc4\xe3\xba\xc3\0\xd3\xce\xcf\xb7\\\xb1\xb3.png"),
        bytes("\x01\x81\x5c\x81\x40" "abc\xfe"),
        bytes("\x02\xe4\xbd\xa0\xe5\xa5\xbd\xf0\x9f\x98\x80\xe4\xbd"),
    };
    int written = 0;
    for (const std::string& seed : seeds) writeBytes(folder + "/seed-" + std::to_string(written++) + ".txt", seed);
    printf("%d seeds written\n", written);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (strcmp(argv[1], "png") != 0 && strcmp(argv[1], "sound") != 0 && strcmp(argv[1], "text") != 0)) {
        fprintf(stderr, "usage: %s png|sound|text folder\n", argv[0]);
        return 2;
    }
    if (strcmp(argv[1], "png") == 0) return pngSeeds(argv[2]);
    return strcmp(argv[1], "sound") == 0 ? soundSeeds(argv[2]) : textSeeds(argv[2]);
}
