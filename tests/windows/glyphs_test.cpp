// The glyphs section of the Windows backend: the bitmaps it rasterises are
// the ones wglUseFontBitmapsW builds for the same font, pixel for pixel, and
// sizes are bounded.
#include <gtest/gtest.h>
#include <windows.h>

#include <GL/gl.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "scene/glyphs.h"

namespace {

// A small visible window with an OpenGL context, drawn into its back buffer.
class GlWindow {
public:
    GlWindow(int width, int height) : width_(width), height_(height) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VindleGlyphTest";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("VindleGlyphTest", "glyphs", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
        dc_ = window_ ? GetDC(window_) : nullptr;
        PIXELFORMATDESCRIPTOR format = {};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 24;
        const int chosen = dc_ ? ChoosePixelFormat(dc_, &format) : 0;
        if (chosen && SetPixelFormat(dc_, chosen, &format)) context_ = wglCreateContext(dc_);
        if (context_ && !wglMakeCurrent(dc_, context_)) {
            wglDeleteContext(context_);
            context_ = nullptr;
        }
    }
    ~GlWindow() {
        if (context_) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context_);
        }
        if (dc_) ReleaseDC(window_, dc_);
        if (window_) DestroyWindow(window_);
    }
    bool ok() const { return context_ != nullptr; }

    // Starts a picture: black, white raster colour, one unit a pixel.
    void clear() const {
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width_, 0, height_, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
    }
    // Which pixels are lit, and where the raster position ended.
    std::vector<unsigned char> lit(float* penX) const {
        glFinish();
        GLfloat position[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        *penX = position[0];
        std::vector<unsigned char> rgb(static_cast<size_t>(width_) * height_ * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        std::vector<unsigned char> on(static_cast<size_t>(width_) * height_);
        for (size_t i = 0; i < on.size(); ++i) on[i] = rgb[3 * i] > 127;
        return on;
    }
    HDC dc() const { return dc_; }

private:
    int width_, height_;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
};

int litCount(const std::vector<unsigned char>& pixels) {
    int count = 0;
    for (unsigned char p : pixels) count += p;
    return count;
}

bool sameGlyph(const PlatformGlyph& a, const PlatformGlyph& b) {
    return a.width == b.width && a.height == b.height && a.left == b.left && a.bottom == b.bottom &&
           a.advance == b.advance && a.bits == b.bits;
}

}  // namespace

TEST(Glyphs, BitmapsAreTheOnesWglUseFontBitmapsBuildsForTheSameFont) {
    const int kSide = 160, kPenX = 40, kPenY = 50;
    GlWindow gl(kSide, kSide);
    ASSERT_TRUE(gl.ok()) << "no OpenGL context";
    // Latin, CJK, full-width punctuation and the euro sign of code page 936.
    const std::u32string characters = U"Ag中国游戏，。€";
    for (int size : {12, 20, 33}) {
        HFONT font = CreateFontA(size, 0, 0, 0, FW_BOLD, 0, 0, 0, CHINESEBIG5_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "宋体");
        ASSERT_NE(font, nullptr);
        HGDIOBJ previous = SelectObject(gl.dc(), font);
        const GLuint list = glGenLists(1);
        for (char32_t character : characters) {
            SCOPED_TRACE("size " + std::to_string(size) + ", U+" + std::to_string(static_cast<unsigned>(character)));
            gl.clear();
            ASSERT_TRUE(wglUseFontBitmapsW(gl.dc(), static_cast<DWORD>(character), 1, list));
            glRasterPos2i(kPenX, kPenY);
            glCallList(list);
            float referencePen = 0;
            const std::vector<unsigned char> reference = gl.lit(&referencePen);

            PlatformGlyph glyph;
            ASSERT_TRUE(platformRasteriseGlyph(character, size, &glyph));
            gl.clear();
            glRasterPos2i(kPenX, kPenY);
            glBitmap(glyph.width, glyph.height, static_cast<GLfloat>(-glyph.left), static_cast<GLfloat>(-glyph.bottom),
                     static_cast<GLfloat>(glyph.advance), 0, glyph.bits.empty() ? nullptr : glyph.bits.data());
            float pen = 0;
            const std::vector<unsigned char> ours = gl.lit(&pen);

            EXPECT_GT(litCount(reference), 0);
            EXPECT_TRUE(ours == reference) << litCount(ours) << " pixels lit, " << litCount(reference) << " expected";
            EXPECT_EQ(pen - kPenX, referencePen - kPenX);
        }
        glDeleteLists(list, 1);
        DeleteObject(SelectObject(gl.dc(), previous));
    }
}

TEST(Glyphs, HugeSizesAreDrawnAtTheLargestSizeAndStayCached) {
    PlatformGlyph largest, huge, negative, extreme;
    ASSERT_TRUE(platformRasteriseGlyph(U'中', kMaxGlyphSize, &largest));
    ASSERT_TRUE(platformRasteriseGlyph(U'中', 60000, &huge));
    EXPECT_GT(largest.height, kMaxGlyphSize / 2);
    EXPECT_TRUE(sameGlyph(huge, largest));
    ASSERT_TRUE(platformRasteriseGlyph(U'中', -60000, &negative));
    EXPECT_LE(negative.height, kMaxGlyphSize);
    ASSERT_TRUE(platformRasteriseGlyph(U'中', INT_MIN, &extreme));
    EXPECT_TRUE(sameGlyph(extreme, negative));

    // A text of that size keeps its glyphs in the cache from frame to frame.
    const std::shared_ptr<const Glyph> first = glyphFor(U'中', 60000);
    EXPECT_LE(first->height, kMaxGlyphSize);
    EXPECT_LE(glyphFor(U'文', 60000)->height, kMaxGlyphSize);
    EXPECT_EQ(glyphFor(U'中', 60000), first);
}
