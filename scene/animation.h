// Sprite animation: frame lists built from action folders, the 300 ms timer
// that advances every sprite, and the sprite pass of the frame.
#pragma once

// One timer tick: moves every sprite, shown or hidden, to its next frame.
// Takes the engine lock.
void advanceAnimations();
// Arms the GLUT timer that ticks every 300 ms; window thread, at start-up.
void startAnimationTimer();

// The sprite pass for one record (a SpriteRecord*); the engine lock is held.
void drawSpriteRecord(void* record);
