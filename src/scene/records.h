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

struct TextRecord {
    TextRecord();
    ~TextRecord();
    std::string text;
    int32_t x = 0, y = 0;
    int32_t visible = 1;
    float red = 0, green = 0, blue = 0;  // stored as the game gave them, unclamped
    int32_t fontSize = 20;
    std::unique_ptr<TextLayout> layout;  // made by the text pass; dropped when text or size change
};

struct ImageRecord {
    int32_t x = 0, y = 0;
    int32_t width = 0, height = 0;
    int32_t colorType = 0;                  // 2 RGB or 6 RGBA
    const unsigned char* pixels = nullptr;  // owned by the PNG cache, shared
    int32_t visible = 1;
};

struct SpriteRecord {
    std::string name;
    std::optional<std::string> action;  // none before the first action
    std::string folder;                 // full sprite folder path, fixed at creation
    int32_t x = 0, y = 0;
    int32_t width = 0, height = 0;    // of the frame drawn last; written by the sprite pass
    std::vector<std::string> frames;  // the action's frame files, in playing order
    int32_t frameIndex = 0;
    int32_t visible = 1;
    int32_t flipX = 0, flipY = 0;  // stored as given: any non-zero value mirrors
    int32_t repeatPlay = 1;
};

// A game string as the engine keeps it; a null string counts as empty.
inline std::string copyGameString(const char* s) { return s ? s : ""; }
