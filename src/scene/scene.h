// The scene as one frame shows it.
#pragma once

class Canvas;

// Draws every visible object onto canvas under the engine lock: the image
// pass, the sprite pass, then the text pass, each over its table in visiting
// order, so texts lie on sprites and sprites on images. A sprite frame that
// cannot be loaded ends the game once the lock is released.
void drawScene(Canvas& canvas);
