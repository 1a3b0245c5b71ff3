// PNG fixtures written by the tests themselves with libpng's writer, in a
// temporary folder that is removed afterwards.
#pragma once

#include <png.h>
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"

struct PngPicture {
    int width = 1, height = 1;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_byte> rows;       // packed rows, top row first
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // tRNS of a palette picture
    bool hasTransparentColor = false;    // tRNS of a grey or RGB picture
    png_color_16 transparentColor{};
    // Text chunks: compression is one of libpng's PNG_TEXT_COMPRESSION_* and
    // PNG_ITXT_COMPRESSION_* (tEXt, zTXt, iTXt).
    struct Text {
        std::string key, text;
        int compression = PNG_TEXT_COMPRESSION_NONE;
    };
    std::vector<Text> texts;
};

// One PNG chunk: length, type, data and checksum.
inline std::string pngChunk(const char* type, const std::string& data) {
    std::string bytes;
    const uint32_t length = static_cast<uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(length >> shift);
    std::string body = std::string(type, 4) + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    bytes += body;
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(crc >> shift);
    return bytes;
}

// A file whose header claims an 8-bit RGBA picture of the given size, with
// only a few bytes of image data after it.
inline std::string pngHeaderOnly(uint32_t width, uint32_t height) {
    std::string header;
    for (uint32_t side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(side >> shift);
    header += std::string("\x08\x06\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", "xyz") +
           pngChunk("IEND", "");
}

// Writes the picture; returns false when libpng refused it.
inline bool writePng(const std::string& path, const PngPicture& picture) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(write);
    std::vector<png_bytep> rowPointers;
    if (setjmp(png_jmpbuf(write))) {
        png_destroy_write_struct(&write, &info);
        fclose(file);
        return false;
    }
    png_init_io(write, file);
    png_set_IHDR(write, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty())
        png_set_PLTE(write, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(write, info, picture.paletteAlpha.data(), static_cast<int>(picture.paletteAlpha.size()),
                     nullptr);
    if (picture.hasTransparentColor) {
        png_color_16 color = picture.transparentColor;
        png_set_tRNS(write, info, nullptr, 0, &color);
    }
    std::vector<png_text> texts;
    for (const PngPicture::Text& text : picture.texts) {
        png_text chunk{};
        chunk.compression = text.compression;
        chunk.key = const_cast<char*>(text.key.c_str());
        chunk.text = const_cast<char*>(text.text.c_str());
        chunk.text_length = text.text.size();
        texts.push_back(chunk);
    }
    if (!texts.empty()) png_set_text(write, info, texts.data(), static_cast<int>(texts.size()));
    const size_t stride = picture.rows.size() / picture.height;
    for (int y = 0; y < picture.height; ++y)
        rowPointers.push_back(const_cast<png_bytep>(picture.rows.data()) + y * stride);
    png_set_rows(write, info, rowPointers.data());
    png_write_png(write, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&write, &info);
    return fclose(file) == 0;
}

// An 8-bit picture whose sample s of pixel (x, y), y counted from the top, is
// sampleAt(x, y, s); channels is 3 for RGB, 4 for RGBA.
inline PngPicture patternPicture(int width, int height, int channels) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colorType = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int s = 0; s < channels; ++s) picture.rows.push_back(static_cast<png_byte>(x * 40 + y * 7 + s * 60 + 1));
    return picture;
}
inline unsigned char sampleAt(int x, int y, int s) { return static_cast<unsigned char>(x * 40 + y * 7 + s * 60 + 1); }

// One-colour 8-bit picture.
inline PngPicture solidPicture(int width, int height, std::vector<png_byte> pixel) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colorType = pixel.size() == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    for (int i = 0; i < width * height; ++i) picture.rows.insert(picture.rows.end(), pixel.begin(), pixel.end());
    return picture;
}

