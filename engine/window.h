// The window thread: start-up and the GLUT callbacks of the frame loop.
#pragma once

// GLUT callbacks of the frame loop.
void onIdle();
void onReshape(int width, int height);
void onDisplay();

// Draws one frame into the current OpenGL context: clear, projection, viewport
// and the scene passes under the engine lock. No flush, no swap.
void drawFrame();
// Moves the raster position to a scene point, which may lie outside the window.
void placeRasterPosition(int x, int y);
