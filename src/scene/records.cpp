#include "scene/records.h"

#include <cstdlib>
#include <cstring>

#include "scene/glyphs.h"

char* copyGameString(const char* s) {
    if (!s) s = "";
    size_t size = strlen(s) + 1;
    auto* copy = static_cast<char*>(malloc(size));
    if (!copy) abort();  // out of memory
    memcpy(copy, s, size);
    return copy;
}

void dropTextLayout(TextRecord& record) {
    delete record.layout;
    record.layout = nullptr;
}

void releaseTextRecord(void* record) {
    auto* text = static_cast<TextRecord*>(record);
    dropTextLayout(*text);
    free(text->text);
    free(text);
}

void releaseImageRecord(void* record) {
    free(record);
}

void freeFrameList(FrameNode* head) {
    if (!head) return;
    FrameNode* node = head->next;
    free(head);
    while (node) {
        FrameNode* next = node->next;
        free(node->path);
        free(node);
        node = next;
    }
}

void releaseSpriteRecord(void* record) {
    auto* sprite = static_cast<SpriteRecord*>(record);
    free(sprite->name);
    free(sprite->action);
    free(sprite->folder);
    freeFrameList(sprite->frames);
    free(sprite);
}
