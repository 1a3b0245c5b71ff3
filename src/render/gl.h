// OpenGL and GLU as the renderers use them, and the raster helper of the
// reference renderer. GLUT itself is app/'s alone.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>

// Moves the raster position to a scene point, which may lie outside the window
// (a mirrored picture starts one past its far edge, beyond the range of int
// for the largest positions).
inline void placeRasterPosition(int64_t x, int64_t y) {
    // The origin is always a valid raster position; an empty bitmap then moves
    // it to the target without invalidating it, even outside the window.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(x), static_cast<GLfloat>(y), nullptr);
}
