// What the scene passes draw on: the OpenGL raster calls of the reference
// renderer, or the compositor's frame in memory. Both take scene coordinates
// and draw the same pixels.
#pragma once

#include "scene/glyphs.h"

class Canvas {
public:
    virtual ~Canvas() = default;
    // A picture with its lower-left corner at (x, y); colour type 2 is RGB,
    // 6 is RGBA (blended), any other draws nothing. A mirrored picture covers
    // the same rectangle as the plain one.
    virtual void drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels,
                             bool flipX, bool flipY) = 0;
    // A laid-out text with its first pen position at (x, y), in the colour
    // given as glColor3f takes it.
    virtual void drawText(int x, int y, float red, float green, float blue, const TextLayout& layout) = 0;
};
