// Sprite animation: frame lists built from action folders, the 300 ms timer
// that advances every sprite, and the sprite pass of the frame.
#pragma once

// One timer tick: moves every sprite, shown or hidden, to its next frame.
// Takes the engine lock.
void advanceAnimations();
// Arms the GLUT timer that ticks every 300 ms; window thread, at start-up.
void startAnimationTimer();

// The sprite pass for one record (a SpriteRecord*); the engine lock is held.
// A frame that cannot be loaded is not reported here but kept for
// takeSpritePassFault, and the pass draws nothing more.
void drawSpriteRecord(void* record);
// With the engine lock held, after the sprite pass: the message of the fault
// it found, with its path copied into path (kPathBufferSize bytes), or null.
// The caller reports it with fatalError once it has released the lock.
const char* takeSpritePassFault(char* path);
