// One frame of the scene, drawn into the current OpenGL context.
#pragma once

// Clear, projection, viewport and the scene passes (images, sprites, texts)
// under the engine lock. No flush, no swap: the caller presents the frame.
void drawFrame();
