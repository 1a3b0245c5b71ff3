// One frame of the scene, drawn by either renderer: the compositor (the
// default), which composes the frame in memory and presents it with one call,
// or the OpenGL reference renderer, which issues one raster call per picture
// and glyph. VINDLE_RENDERER=gl or cpu picks one at start.
#pragma once

enum class Renderer { Compositor, OpenGL };

Renderer activeRenderer();
// Tests and benchmarks switch between the two.
void setRenderer(Renderer renderer);

// Draws one frame for the current settings into a window of the given size:
// clear, then the image, sprite and text passes under the engine lock. The
// whole window is drawn, as the raster path's clear and clipping draw it: a
// window wider or taller than the game (a system may not make a window as
// small as the game) shows the background colour there, and pictures and
// texts run on to its edge. The OpenGL renderer draws into the current
// context; the compositor into its frame, shown by presentFrame.
void drawFrame(int windowWidth, int windowHeight);
// Hands the frame to the window (windowHeight: the window's height) and
// flushes what OpenGL drew; the current OpenGL context is the window's.
void presentFrame(int windowHeight);
