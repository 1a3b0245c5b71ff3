// An offscreen OpenGL context for render tests: the engine's real frame is
// drawn into it and the pixels are read back.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

class OffscreenContext {
public:
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    // The pixel at window coordinates (x, y), origin bottom-left.
    Rgb at(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void* context_;
    int width_, height_;
    std::vector<uint8_t> buffer_;
};

// Sets the game size, draws and presents one frame with the active renderer
// into the current offscreen buffer, the window, and finishes it.
void renderFrame(int width, int height);
