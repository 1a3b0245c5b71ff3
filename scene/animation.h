// Sprite animation: frame lists built from action folders, the 300 ms timer
// that advances every sprite, and the sprite pass of the frame.
#pragma once

#include "scene/records.h"

// Number of frames after the list's head; -1 for no list at all.
int countFrames(const FrameNode* list);
// Appends, in the order the system lists them, the bare names of the frame
// files of an action folder to the list. Leaves the list alone when the
// folder cannot be searched.
void listFrameFiles(const char* folder, FrameNode* list);
// qsort comparison of two file names (each element a char*): by the number
// that begins the base name, read as atoi reads it.
int compareFrameNames(const void* a, const void* b);

// One timer tick: moves every sprite, shown or hidden, to its next frame.
// Takes the engine lock.
void advanceAnimations();
// Arms the GLUT timer that ticks every 300 ms; window thread, at start-up.
void startAnimationTimer();

// The sprite pass for one record (a SpriteRecord*); the engine lock is held.
void drawSpriteRecord(void* record);
