// Sprites: folders of numbered PNG frames, one sub-folder per action; the
// step that advances every sprite (app/ runs it on its 300 ms timer); and
// the sprite pass of the frame.
#pragma once

#include <string>

class Canvas;
struct SpriteRecord;

// How often sprites step to their next frame.
constexpr unsigned kAnimationPeriodMs = 300;

// One step: moves every sprite, shown or hidden, to its next frame. Takes the
// engine lock.
void advanceAnimations();

// A frame the sprite pass could not draw, reported once the lock is released.
struct SpritePassFault {
    const char* message = nullptr;  // null: no fault
    std::string path;
};

// The sprite pass for one record; the engine lock is held. A frame that
// cannot be loaded is not reported here but kept in fault, and once there is
// a fault the pass draws no more sprites.
void drawSpriteRecord(SpriteRecord& record, Canvas& canvas, SpritePassFault& fault);
