// Scene S(N) drawn without the engine, as a plain program would: the pictures
// kept as 4-byte pixels, every frame cleared, every picture copied or blended
// whole with a straightforward loop, texts as 12 boxes of glyph-sized ink,
// then shown through a shared memory image as the engine shows its frame,
// with the engine's rest of 10 ms between frames.
// It prints the median time of 100 frames from the clear to the end of the
// present, after 20 to warm up, as the engine's frame timer does.
//   BENCH_N=1000 bench_bare_blit    (bench/scene.sh runs it)
// GoogleTest (through the scene's helpers) first: X11 defines some of its names as macros.
#include "../scene_pictures.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int kW = scene::kWidth, kH = scene::kHeight;

struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;  // RGBA words, bottom row first
};

Picture fromPng(const PngPicture& png, int channels) {
    Picture picture{png.width, png.height, {}};
    for (int y = png.height - 1; y >= 0; --y)
        for (int x = 0; x < png.width; ++x) {
            const png_byte* p = png.rows.data() + (static_cast<size_t>(y) * png.width + x) * channels;
            const uint32_t alpha = channels == 4 ? p[3] : 255;
            picture.pixels.push_back(p[0] | p[1] << 8 | p[2] << 16 | alpha << 24);
        }
    return picture;
}

std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH);

void copyOpaque(const Picture& picture, int x, int y) {
    const int x0 = std::max(x, 0), x1 = std::min(x + picture.width, kW);
    const int y0 = std::max(y, 0), y1 = std::min(y + picture.height, kH);
    if (x0 >= x1) return;
    for (int row = y0; row < y1; ++row)
        memcpy(&frame[static_cast<size_t>(row) * kW + x0],
               &picture.pixels[static_cast<size_t>(row - y) * picture.width + (x0 - x)], (x1 - x0) * 4u);
}

void blend(const Picture& picture, int x, int y, bool mirrored) {
    const int x0 = std::max(x, 0), x1 = std::min(x + picture.width, kW);
    const int y0 = std::max(y, 0), y1 = std::min(y + picture.height, kH);
    for (int row = y0; row < y1; ++row) {
        const uint32_t* src = &picture.pixels[static_cast<size_t>(row - y) * picture.width];
        uint32_t* dst = &frame[static_cast<size_t>(row) * kW];
        for (int column = x0; column < x1; ++column) {
            const int sx = mirrored ? picture.width - 1 - (column - x) : column - x;
            const uint32_t s = src[sx], d = dst[column], a = s >> 24, rest = 255 - a;
            uint32_t out = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8)
                out |= (((s >> shift & 255) * a + (d >> shift & 255) * rest + 127) / 255) << shift;
            dst[column] = out;
        }
    }
}

// A text: 12 glyph boxes of 9 x 12 pixels, every other pixel ink.
void text(int x, int y, uint32_t colour) {
    for (int c = 0; c < 12; ++c)
        for (int row = std::max(y, 0); row < std::min(y + 12, kH); ++row)
            for (int column = std::max(x + 10 * c, 0); column < std::min(x + 10 * c + 9, kW); ++column)
                if ((row + column) & 1) frame[static_cast<size_t>(row) * kW + column] = colour;
}

int count() {
    const char* n = getenv("BENCH_N");
    return n ? atoi(n) : 100;
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display || !XShmQueryExtension(display)) {
        fprintf(stderr, "bench_bare_blit: needs an X display with MIT-SHM\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kW, kH, 0, 0, 0);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify) break;
    }
    GC gc = XCreateGC(display, window, 0, nullptr);
    XShmSegmentInfo segment{};
    XImage* image = XShmCreateImage(display, visual, DefaultDepth(display, screen), ZPixmap, nullptr, &segment, kW, kH);
    segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * kH, IPC_CREAT | 0600);
    segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    XShmAttach(display, &segment);
    XSync(display, False);
    shmctl(segment.shmid, IPC_RMID, nullptr);

    const Picture photo = fromPng(scene::photo(), 3), ball = fromPng(scene::ball(), 4);
    const int n = count();
    std::vector<double> times, cpuTimes;
    auto threadMs = [] {
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    for (int f = 1; f <= 120; ++f) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = threadMs();
        std::fill(frame.begin(), frame.end(), 0xFFFFFFFFu);
        for (int i = 0; i < scene::images(n); ++i) copyOpaque(photo, scene::imageX(i, f), scene::imageY(i, f));
        for (int i = 0; i < scene::sprites(n); ++i) blend(ball, scene::spriteX(i, f), scene::spriteY(i, f), i % 2);
        for (int i = 0; i < scene::texts(n); ++i) text(scene::textX(i, f), scene::textY(i, f), 0xFF803319u);
        // The window's pixels, top row first, red in the high byte.
        XSync(display, False);
        for (int row = 0; row < kH; ++row) {
            const uint32_t* in = &frame[static_cast<size_t>(kH - 1 - row) * kW];
            auto* out = reinterpret_cast<uint32_t*>(image->data + static_cast<size_t>(row) * image->bytes_per_line);
            for (int x = 0; x < kW; ++x) out[x] = (in[x] & 255) << 16 | (in[x] & 0xFF00) | (in[x] >> 16 & 255);
        }
        // As the engine presents: the server copies while the program rests,
        // and the next frame waits for that copy before it writes the image.
        XShmPutImage(display, window, gc, image, 0, 0, 0, 0, kW, kH, False);
        XFlush(display);
        if (f > 20) {
            cpuTimes.push_back(threadMs() - cpuStart);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        usleep(10000);  // the engine's rest between frames
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    printf("[frames] %zu median %.3f ms, thread time %.3f ms\n", times.size(), (times[49] + times[50]) / 2,
           (cpuTimes[49] + cpuTimes[50]) / 2);
    XShmDetach(display, &segment);
    shmdt(segment.shmaddr);
    XCloseDisplay(display);
    return 0;
}
