// One frame of the scene, drawn by either renderer: the compositor (the
// default), which composes the frame in memory and presents it with one call,
// or the OpenGL reference renderer, which issues one raster call per picture
// and glyph. VINDLE_RENDERER=gl or cpu picks one at start.
#pragma once

enum class Renderer { Compositor, OpenGL };

Renderer activeRenderer();
// Tests and benchmarks switch between the two.
void setRenderer(Renderer renderer);

// Draws one frame for the current settings into a window of the given size
// (its client area): clear, then the image, sprite and text passes under the
// engine lock. The OpenGL renderer draws into the current context; the
// compositor into its frame, the window's size, shown by presentFrame.
void drawFrame(int windowWidth, int windowHeight);
// Hands the frame to the window and flushes what OpenGL drew; the current
// OpenGL context is the window's.
void presentFrame();
