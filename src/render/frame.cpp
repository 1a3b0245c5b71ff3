#include "render/frame.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "core/settings.h"
#include "platform/platform.h"
#include "render/compositor.h"
#include "render/gl.h"
#include "scene/canvas.h"
#include "scene/glyphs.h"
#include "scene/scene.h"

namespace {

Renderer rendererFromEnvironment() {
    const char* choice = getenv("VINDLE_RENDERER");
    return choice && strcmp(choice, "gl") == 0 ? Renderer::OpenGL : Renderer::Compositor;
}

std::atomic<Renderer>& chosenRenderer() {
    static std::atomic<Renderer>* const chosen = new std::atomic<Renderer>(rendererFromEnvironment());
    return *chosen;
}

// The scene rectangle the window shows, in scene coordinates.
struct SceneArea {
    int64_t left, bottom, right, top;
};

// The glyphs of a text at (x, y) that can reach the area: [first, last).
bool glyphsInArea(const TextLayout& layout, int x, int y, const SceneArea& area, size_t* first, size_t* last) {
    if (layout.glyphs.empty() || y + static_cast<int64_t>(layout.maxTop) <= area.bottom ||
        y + static_cast<int64_t>(layout.minBottom) >= area.top)
        return false;
    glyphsInColumns(layout, area.left - x, area.right - x, first, last);
    return *first < *last;
}

class OpenGLCanvas : public Canvas {
public:
    SceneArea area{};

    void drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels, bool flipX,
                     bool flipY) override {
        GLenum format;
        if (colorType == 2)
            format = GL_RGB;
        else if (colorType == 6)
            format = GL_RGBA;
        else
            return;
        // A mirrored picture starts at its far edge and is drawn backwards,
        // so it covers the same rectangle as the plain one.
        placeRasterPosition(flipX ? static_cast<int64_t>(x) + width : x, flipY ? static_cast<int64_t>(y) + height : y);
        if (flipX || flipY) glPixelZoom(flipX ? -1.0f : 1.0f, flipY ? -1.0f : 1.0f);
        glDrawPixels(width, height, format, GL_UNSIGNED_BYTE, pixels);
        if (flipX || flipY) glPixelZoom(1.0f, 1.0f);
    }

    void drawText(int x, int y, float red, float green, float blue, const TextLayout& layout) override {
        size_t first, last;
        if (!glyphsInArea(layout, x, y, area, &first, &last)) return;
        // The raster colour is latched when the raster position is set. The
        // glyphs before the first visible one only move the pen.
        glColor3f(red, green, blue);
        placeRasterPosition(x + layout.glyphs[first].pen, y);
        for (size_t i = first; i < last; ++i) {
            const std::shared_ptr<const Glyph> shape = frameGlyph(layout.glyphs[i].codePoint, layout.fontSize);
            const GLfloat advance = static_cast<GLfloat>(glyphAdvance(layout, i));
            if (!shape) {
                glBitmap(0, 0, 0.0f, 0.0f, advance, 0.0f, nullptr);  // left out this frame
                continue;
            }
            const Glyph& glyph = *shape;
            glBitmap(glyph.width, glyph.height, static_cast<GLfloat>(-glyph.left), static_cast<GLfloat>(-glyph.bottom),
                     advance, 0.0f, glyph.bits.empty() ? nullptr : glyph.bits.data());
        }
    }
};

class CompositorCanvas : public Canvas {
public:
    Compositor frame;

    void drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels, bool flipX,
                     bool flipY) override {
        frame.drawPicture(x, y, width, height, colorType, pixels, flipX, flipY);
    }

    void drawText(int x, int y, float red, float green, float blue, const TextLayout& layout) override {
        const SceneArea area{frame.sceneLeft(), frame.sceneBottom(), frame.sceneRight(), frame.sceneTop()};
        size_t first, last;
        if (!glyphsInArea(layout, x, y, area, &first, &last)) return;
        const uint8_t colour[3] = {colourByte(red), colourByte(green), colourByte(blue)};
        for (size_t i = first; i < last; ++i) {
            const std::shared_ptr<const Glyph> shape = frameGlyph(layout.glyphs[i].codePoint, layout.fontSize);
            if (!shape) continue;  // left out this frame
            const Glyph& glyph = *shape;
            frame.drawGlyph(x + layout.glyphs[i].pen + glyph.left, static_cast<int64_t>(y) + glyph.bottom, glyph,
                            colour);
        }
    }
};

// Both live as long as the process: the window thread may draw during exit.
OpenGLCanvas& openGLCanvas() {
    static OpenGLCanvas* const canvas = new OpenGLCanvas;
    return *canvas;
}
CompositorCanvas& compositorCanvas() {
    static CompositorCanvas* const canvas = new CompositorCanvas;
    return *canvas;
}

void beginOpenGLFrame(int width, int height, float red, float green, float blue, int viewportX, int viewportY,
                      int windowWidth, int windowHeight) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(viewportX, viewportY, width, height);
    // Pictures and glyphs are clipped by the window, not by the viewport.
    openGLCanvas().area =
        SceneArea{-static_cast<int64_t>(viewportX), -static_cast<int64_t>(viewportY),
                  static_cast<int64_t>(windowWidth) - viewportX, static_cast<int64_t>(windowHeight) - viewportY};
}

// One glDrawPixels of the whole frame at the window's lower-left corner.
void drawFrameWithOpenGL(Compositor& frame) {
    glDisable(GL_BLEND);
    glViewport(0, 0, frame.width(), frame.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2f(-1.0f, -1.0f);
    glDrawPixels(frame.width(), frame.height(), GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels());
}

}  // namespace

Renderer activeRenderer() { return chosenRenderer().load(std::memory_order_relaxed); }
void setRenderer(Renderer renderer) { chosenRenderer().store(renderer, std::memory_order_relaxed); }

void drawFrame(int windowWidth, int windowHeight) {
    const FrameSettings s = frameSettings();
    if (activeRenderer() == Renderer::OpenGL) {
        beginOpenGLFrame(s.width, s.height, s.red, s.green, s.blue, s.viewportX, s.viewportY, windowWidth,
                         windowHeight);
        drawScene(openGLCanvas());
    } else {
        // The frame is the window, whatever the game size: the clear covers
        // all of it and pictures run to its edges, as the raster path draws.
        // Only a frame the compositor draws is asked for: a backend may give
        // up its own way for good when a size fails.
        const bool drawable =
            windowWidth > 0 && windowHeight > 0 && windowWidth <= kMaxFrameSide && windowHeight <= kMaxFrameSide;
        PlatformFrameMemory memory;
        const bool lent = drawable && platformFrameMemory(windowWidth, windowHeight, &memory);
        compositorCanvas().frame.begin(windowWidth, windowHeight, s.red, s.green, s.blue, s.viewportX, s.viewportY,
                                       lent ? &memory : nullptr);
        drawScene(compositorCanvas());
    }
}

void presentFrame() {
    if (activeRenderer() == Renderer::Compositor) {
        Compositor& frame = compositorCanvas().frame;
        frame.finish();
        if (frame.inLentMemory()) {
            platformPresentFrame(frame.width(), frame.height());
            return;
        }
        if (!frame.pixels()) return;
        drawFrameWithOpenGL(frame);
    }
    glFlush();
}
