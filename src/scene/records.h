// The records of the three kinds of scene objects. Each lives in its kind's
// object table under its number (which the record need not repeat) and is
// reached only with the engine lock held.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TextLayout;
struct PngCacheEntry;

struct TextRecord {
    TextRecord();
    ~TextRecord();
    std::string text;
    int32_t x = 0, y = 0;
    int32_t visible = 1;
    float red = 0, green = 0, blue = 0;  // stored as the game gave them, unclamped
    int32_t fontSize = 20;
    std::unique_ptr<TextLayout> layout;  // of text at fontSize, made whenever either is set
};

struct ImageRecord {
    int32_t x = 0, y = 0;
    int32_t width = 0, height = 0;
    int32_t colorType = 0;                  // 2 RGB or 6 RGBA
    const unsigned char* pixels = nullptr;  // owned by the PNG cache, shared
    int32_t visible = 1;
};

// One frame of a sprite's action, resolved when the action's frames are
// listed, so drawing it does no work on paths.
struct SpriteFrame {
    std::string path;                         // the file, as the disk spells its folders
    std::string key;                          // the picture's key in the PNG cache
    const PngCacheEntry* picture = nullptr;  // the cached picture, once loaded
};

struct SpriteRecord {
    std::string name;
    std::optional<std::string> action;  // none before the first action
    std::string folder;                 // full sprite folder path, fixed at creation
    int32_t x = 0, y = 0;
    int32_t width = 0, height = 0;    // of the frame drawn last; written by the sprite pass
    std::vector<SpriteFrame> frames;  // the action's frames, in playing order
    int32_t frameIndex = 0;
    bool frameTested = false;  // the current frame's file was found since the last step
    int32_t visible = 1;
    int32_t flipX = 0, flipY = 0;  // stored as given: any non-zero value mirrors
    int32_t repeatPlay = 1;
};

// A game string as the engine keeps it; a null string counts as empty.
inline std::string copyGameString(const char* s) { return s ? s : ""; }
