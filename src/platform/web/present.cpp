// Web backend: the composed frame goes to the page with one putImageData on a
// 2D canvas laid over GLUT's canvas (web/present.js). GLUT's WebGL context
// keeps its canvas; nothing is drawn with OpenGL.
//
// The OpenGL reference renderer draws with OpenGL 1.1 raster calls, which
// WebGL does not have: the page always uses the compositor. Its raster
// entry points exist so that the engine links, and say so if ever reached.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

extern "C" int vindle_present(const unsigned char* rgba, int width, int height, int windowHeight);

bool platformPresentFrame(const unsigned char* rgba, int width, int height, int windowHeight) {
    return vindle_present(rgba, width, height, windowHeight) != 0;
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
