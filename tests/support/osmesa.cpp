#include "support/osmesa.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <stdexcept>

#include "render/frame.h"
#include "vindle.h"

OffscreenContext::OffscreenContext(int width, int height)
    : context_(nullptr), width_(width), height_(height), buffer_(static_cast<size_t>(width) * height * 4) {
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
    if (!context) throw std::runtime_error("OSMesaCreateContextExt failed");
    if (!OSMesaMakeCurrent(context, buffer_.data(), GL_UNSIGNED_BYTE, width, height))
        throw std::runtime_error("OSMesaMakeCurrent failed");
    context_ = context;
}

OffscreenContext::~OffscreenContext() { OSMesaDestroyContext(static_cast<OSMesaContext>(context_)); }

Rgb OffscreenContext::at(int x, int y) const {
    glFinish();
    unsigned char pixel[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return Rgb{pixel[0], pixel[1], pixel[2]};
}

void renderFrame(int width, int height) {
    // setGameSize also asks for a window resize, which only a window thread
    // would carry out; the frame reads the stored size and covers the
    // window, here the offscreen buffer.
    setGameSize(width, height);
    GLint windowWidth = 0, windowHeight = 0, format = 0;
    void* buffer = nullptr;
    OSMesaGetColorBuffer(OSMesaGetCurrentContext(), &windowWidth, &windowHeight, &format, &buffer);
    drawFrame(windowWidth, windowHeight);
    presentFrame();
    glFinish();
}

// OSMesa keeps a few blocks of its own after its context is destroyed; the
// leak checker of sanitizer builds should not count them against us.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
