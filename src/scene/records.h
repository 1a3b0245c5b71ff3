// The records of the three kinds of scene objects. Each lives in its kind's
// object table under its number (which the record need not repeat) and is
// reached only with the engine lock held.
#pragma once

#include <cstdint>

struct TextLayout;

struct TextRecord {
    char* text;  // own copy, never null
    int32_t x, y;
    int32_t visible;
    float red, green, blue;  // stored as the game gave them, unclamped
    int32_t fontSize;
    TextLayout* layout;  // made by the text pass; dropped when text or size change
};

struct ImageRecord {
    int32_t x, y;
    int32_t width, height;
    int32_t colorType;     // 2 RGB or 6 RGBA
    unsigned char* pixels;  // owned by the PNG cache, shared
    int32_t visible;
};

// One node of a frame list. A list starts with a head that carries no path.
struct FrameNode {
    char* path;
    FrameNode* next;
};

struct SpriteRecord {
    char* name;
    char* action;  // null before the first action
    char* folder;  // full sprite folder path, fixed at creation
    int32_t x, y;
    int32_t width, height;  // of the frame drawn last; written by the sprite pass
    FrameNode* frames;      // null before the first action
    int32_t frameIndex;
    int32_t visible;
    int32_t flipX, flipY;  // stored as given: any non-zero value mirrors
    int32_t repeatPlay;
};

// Copies a game string; a null string counts as empty. Never returns null.
char* copyGameString(const char* s);

// Drops a text's layout, so the text pass lays the text out again.
void dropTextLayout(TextRecord& record);
// Free a record with everything it owns (not the pixel blocks).
void releaseTextRecord(void* record);
void releaseImageRecord(void* record);
void releaseSpriteRecord(void* record);
// Frees every node of a frame list and its paths (the head's path is unused).
void freeFrameList(FrameNode* head);
