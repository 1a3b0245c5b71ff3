// The window thread: start-up, the GLUT callbacks of the frame loop and the
// window requests that other threads leave for it.
#pragma once

// Window-system calls made by game threads are recorded here and carried out
// by the window thread at its next idle tick.
void requestWindowResize();
void requestWindowTitle(const char* title);
void requestCursor(int glutCursor);
// Carries out the recorded requests; window thread only.
void applyWindowRequests();

// GLUT callbacks of the frame loop.
void onIdle();
void onReshape(int width, int height);
void onDisplay();

// Draws one frame into the current OpenGL context: clear, projection, viewport
// and the scene passes under the engine lock. No flush, no swap.
void drawFrame();
// Moves the raster position to a scene point, which may lie outside the window.
void placeRasterPosition(int x, int y);
