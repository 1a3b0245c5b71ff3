// Web backend: the frame is composed in a buffer of this file in the order a
// canvas image takes (RGBA, top row first) and goes to the page with one
// putImageData on a 2D canvas laid over GLUT's canvas (web/present.js).
// GLUT's WebGL context keeps its canvas; nothing is drawn with OpenGL.
//
// The OpenGL reference renderer draws with OpenGL 1.1 raster calls, which
// WebGL does not have: the page always uses the compositor. Its raster
// entry points exist so that the engine links, and say so if ever reached.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "platform/platform.h"

extern "C" int vindle_present(const unsigned char* rgba, int width, int height);

namespace {

// Browser's thread only, like the window.
std::vector<unsigned char>& frameBuffer() {
    static std::vector<unsigned char>* const buffer = new std::vector<unsigned char>;
    return *buffer;
}

}  // namespace

bool platformFrameMemory(int width, int height, PlatformFrameMemory* memory) {
    std::vector<unsigned char>& buffer = frameBuffer();
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (bytes == 0) return false;
    if (buffer.size() != bytes) {
        try {
            std::vector<unsigned char>(bytes).swap(buffer);
        } catch (const std::bad_alloc&) {
            std::vector<unsigned char>().swap(buffer);
            return false;
        }
    }
    const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(width) * 4;
    *memory = PlatformFrameMemory{buffer.data() + rowBytes * (height - 1), -rowBytes, true};
    return true;
}

void platformPresentFrame(int width, int height) {
    const std::vector<unsigned char>& buffer = frameBuffer();
    if (buffer.size() == static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
        vindle_present(buffer.data(), width, height);
}

namespace {
[[noreturn]] void noRasterCalls(const char* name) {
    fprintf(stderr, "%s: OpenGL 1.1 raster drawing does not exist in WebGL; unset VINDLE_RENDERER\n", name);
    abort();
}
}  // namespace

extern "C" {
void glDrawPixels(GLsizei, GLsizei, GLenum, GLenum, const void*) { noRasterCalls("glDrawPixels"); }
void glBitmap(GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte*) { noRasterCalls("glBitmap"); }
void glRasterPos2i(GLint, GLint) { noRasterCalls("glRasterPos2i"); }
void glRasterPos2f(GLfloat, GLfloat) { noRasterCalls("glRasterPos2f"); }
void glPixelZoom(GLfloat, GLfloat) { noRasterCalls("glPixelZoom"); }
void glColor3f(GLfloat, GLfloat, GLfloat) { noRasterCalls("glColor3f"); }
void gluOrtho2D(GLdouble, GLdouble, GLdouble, GLdouble) { noRasterCalls("gluOrtho2D"); }
}
