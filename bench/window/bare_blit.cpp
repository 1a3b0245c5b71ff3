// Scene S(N) drawn without the engine, as a careful hand-written program
// would: the pictures kept as pixels of the window's own format (4 bytes, as
// the X server takes them), every frame drawn straight into a shared memory
// image: cleared, every picture copied row by row or blended whole with a
// vector loop that passes over clear pixels and copies opaque ones, texts as
// 12 boxes of glyph-sized ink; then shown with one XShmPutImage, the next
// frame waiting for the server's word that it has copied the image, with the
// engine's rest of 10 ms between frames. Nothing is left out because it is
// hidden: that is what the engine adds.
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

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BARE_AVX2 1
#else
#define BARE_AVX2 0
#endif

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

// Pixels as the window's 32-bit words: blue in the low byte, alpha on top.
struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;  // bottom row first
};

Picture fromPng(const PngPicture& png, int channels) {
    Picture picture{png.width, png.height, {}};
    for (int y = png.height - 1; y >= 0; --y)
        for (int x = 0; x < png.width; ++x) {
            const png_byte* p = png.rows.data() + (static_cast<size_t>(y) * png.width + x) * channels;
            const uint32_t alpha = channels == 4 ? p[3] : 255;
            picture.pixels.push_back(p[2] | p[1] << 8 | p[0] << 16 | alpha << 24);
        }
    return picture;
}

// The shared image, top row first: scene row y is image row kH - 1 - y.
uint32_t* frame = nullptr;
uint32_t* frameRow(int y) { return frame + static_cast<size_t>(kH - 1 - y) * kW; }

void copyOpaque(const Picture& picture, int x, int y) {
    const int x0 = std::max(x, 0), x1 = std::min(x + picture.width, kW);
    const int y0 = std::max(y, 0), y1 = std::min(y + picture.height, kH);
    if (x0 >= x1) return;
    for (int row = y0; row < y1; ++row)
        memcpy(frameRow(row) + x0, &picture.pixels[static_cast<size_t>(row - y) * picture.width + (x0 - x)],
               (x1 - x0) * 4u);
}

// (s * a + d * (255 - a)) / 255 for each component, rounded: for t = x + 128,
// (t + (t >> 8)) >> 8 is x / 255 to nearest.
inline uint32_t blendPixel(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24, rest = 255 - a;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t t = (s >> shift & 255) * a + (d >> shift & 255) * rest + 128;
        out |= ((t + (t >> 8)) >> 8) << shift;
    }
    return out;
}

#if BARE_AVX2
__attribute__((target("avx2"))) void blendRowAvx2(uint32_t* dst, const uint32_t* src, int count, bool mirrored) {
    const __m256i zero = _mm256_setzero_si256(), alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0), round = _mm256_set1_epi16(128);
    const __m256i alphaLanes = _mm256_setr_epi8(6, -1, 6, -1, 6, -1, 6, -1, 14, -1, 14, -1, 14, -1, 14, -1, 6, -1, 6,
                                                -1, 6, -1, 6, -1, 14, -1, 14, -1, 14, -1, 14, -1);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mirrored ? src - i - 7 : src + i));
        if (mirrored) s = _mm256_permutevar8x32_epi32(s, reverse);
        if (_mm256_testz_si256(s, alpha)) continue;
        if (_mm256_testc_si256(s, alpha)) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
            continue;
        }
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        __m256i halves[2];
        for (int h = 0; h < 2; ++h) {
            const __m256i s16 = h ? _mm256_unpackhi_epi8(s, zero) : _mm256_unpacklo_epi8(s, zero);
            const __m256i d16 = h ? _mm256_unpackhi_epi8(d, zero) : _mm256_unpacklo_epi8(d, zero);
            const __m256i a = _mm256_shuffle_epi8(s16, alphaLanes);
            const __m256i t =
                _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(s16, a),
                                                  _mm256_mullo_epi16(d16, _mm256_sub_epi16(_mm256_set1_epi16(255), a))),
                                 round);
            halves[h] = _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_or_si256(_mm256_packus_epi16(halves[0], halves[1]), alpha));
    }
    for (; i < count; ++i) dst[i] = blendPixel(mirrored ? src[-i] : src[i], dst[i]);
}
#endif

void blendRow(uint32_t* dst, const uint32_t* src, int count, bool mirrored) {
#if BARE_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return blendRowAvx2(dst, src, count, mirrored);
#endif
    for (int i = 0; i < count; ++i) dst[i] = blendPixel(mirrored ? src[-i] : src[i], dst[i]);
}

void blend(const Picture& picture, int x, int y, bool mirrored) {
    const int x0 = std::max(x, 0), x1 = std::min(x + picture.width, kW);
    const int y0 = std::max(y, 0), y1 = std::min(y + picture.height, kH);
    if (x0 >= x1) return;
    for (int row = y0; row < y1; ++row) {
        const uint32_t* src = &picture.pixels[static_cast<size_t>(row - y) * picture.width];
        // A mirrored row is read from its far end back.
        const int first = mirrored ? picture.width - 1 - (x0 - x) : x0 - x;
        blendRow(frameRow(row) + x0, src + first, x1 - x0, mirrored);
    }
}

// A text: 12 glyph boxes of 9 x 12 pixels, every other pixel ink.
void text(int x, int y, uint32_t colour) {
    for (int c = 0; c < 12; ++c)
        for (int row = std::max(y, 0); row < std::min(y + 12, kH); ++row)
            for (int column = std::max(x + 10 * c, 0); column < std::min(x + 10 * c + 9, kW); ++column)
                if ((row + column) & 1) frameRow(row)[column] = colour;
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
    const int completion = XShmGetEventBase(display) + ShmCompletion;
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
    if (image->bytes_per_line != kW * 4 || visual->red_mask != 0xFF0000ul || visual->blue_mask != 0xFFul) {
        fprintf(stderr, "bench_bare_blit: needs a 24-bit BGR visual\n");
        return 1;
    }
    frame = reinterpret_cast<uint32_t*>(image->data);
    bool copying = false;

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
        // The server's copy of the frame before must be over.
        for (XEvent event; copying;) {
            XNextEvent(display, &event);
            copying = event.type != completion;
        }
        std::fill(frame, frame + static_cast<size_t>(kW) * kH, 0xFFFFFFFFu);
        for (int i = 0; i < scene::images(n); ++i) copyOpaque(photo, scene::imageX(i, f), scene::imageY(i, f));
        for (int i = 0; i < scene::sprites(n); ++i) blend(ball, scene::spriteX(i, f), scene::spriteY(i, f), i % 2);
        for (int i = 0; i < scene::texts(n); ++i) text(scene::textX(i, f), scene::textY(i, f), 0xFF193380u);
        XShmPutImage(display, window, gc, image, 0, 0, 0, 0, kW, kH, True);
        XFlush(display);
        copying = true;
        if (f > 20) {
            cpuTimes.push_back(threadMs() - cpuStart);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
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
