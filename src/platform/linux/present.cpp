// Linux backend, present: the composed frame goes to the game window through
// a shared memory image (MIT-SHM) when the X server offers it, one
// XShmPutImage a frame, which the server copies while the window thread
// rests.
//   implemented: platformPresentFrame.
//   differs from Windows: Windows has no way of its own (one glDrawPixels);
//     here a remote server, a visual other than 24-bit true colour or
//     VINDLE_PRESENT=gl leave it to that glDrawPixels too.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define VINDLE_X86_SHUFFLES 1
#include <immintrin.h>
#else
#define VINDLE_X86_SHUFFLES 0
#endif

#include "platform/linux/window.h"
#include "platform/platform.h"

namespace {

bool attachFailed = false;
int noteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

// Where each 8-bit component goes in a 32-bit pixel of the window's visual.
bool componentShift(unsigned long mask, int* shift) {
    for (int s = 0; s <= 24; s += 8)
        if (mask == 0xFFul << s) {
            *shift = s;
            return true;
        }
    return false;
}

// RGBA to BGRA: red and blue change places.
void swapRedBluePortable(uint32_t* __restrict out, const unsigned char* __restrict in, int width) {
    for (int x = 0; x < width; ++x) {
        uint32_t word;
        memcpy(&word, in + 4 * x, 4);
        out[x] = (word & 0xFFu) << 16 | (word & 0xFF00u) | (word >> 16 & 0xFFu);
    }
}

#if VINDLE_X86_SHUFFLES
__attribute__((target("avx2"))) void swapRedBlueAvx2(uint32_t* out, const unsigned char* in, int width) {
    const __m256i order = _mm256_setr_epi8(2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1, 2, 1, 0, -1, 6, 5,
                                           4, -1, 10, 9, 8, -1, 14, 13, 12, -1);
    int x = 0;
    for (; x + 8 <= width; x += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                            _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 4 * x)), order));
    swapRedBluePortable(out + x, in + 4 * x, width - x);
}

__attribute__((target("ssse3"))) void swapRedBlueSsse3(uint32_t* out, const unsigned char* in, int width) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1);
    int x = 0;
    for (; x + 4 <= width; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x)), order));
    swapRedBluePortable(out + x, in + 4 * x, width - x);
}
#endif

// The fastest form this processor runs.
void (*swapRedBlue())(uint32_t*, const unsigned char*, int) {
#if VINDLE_X86_SHUFFLES
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return swapRedBlueAvx2;
    if (__builtin_cpu_supports("ssse3")) return swapRedBlueSsse3;
#endif
    return swapRedBluePortable;
}

class ShmPresenter {
public:
    bool present(const unsigned char* rgba, int width, int height, int windowHeight) {
        Display* display = gameWindowDisplay();
        const Window window = gameWindowId();
        if (!display || !window || !usable(display, window) || !fitImage(width, height)) return false;
        // The server reads the segment after the request: the frame before
        // must have been copied before this one is written. Waiting here
        // rather than after the request lets the copy overlap the window
        // thread's rest between frames, so it hardly ever waits.
        if (copying_) XSync(display_, False);
        convert(rgba, width, height);
        XShmPutImage(display_, window_, gc_, image_, 0, 0, 0, windowHeight - height, static_cast<unsigned>(width),
                     static_cast<unsigned>(height), False);
        XFlush(display_);
        copying_ = true;
        return true;
    }

private:
    bool usable(Display* display, Window window) {
        if (checked_) return supported_;
        checked_ = true;
        const char* choice = getenv("VINDLE_PRESENT");
        if (choice && strcmp(choice, "gl") == 0) return false;
        if (!XShmQueryExtension(display)) return false;
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes)) return false;
        Visual* visual = attributes.visual;
        const uint16_t probe = 1;
        uint8_t firstByte;
        memcpy(&firstByte, &probe, 1);
        const int hostOrder = firstByte == 1 ? LSBFirst : MSBFirst;
        if (visual->c_class != TrueColor || (attributes.depth != 24 && attributes.depth != 32) ||
            ImageByteOrder(display) != hostOrder || !componentShift(visual->red_mask, &redShift_) ||
            !componentShift(visual->green_mask, &greenShift_) || !componentShift(visual->blue_mask, &blueShift_))
            return false;
        display_ = display;
        window_ = window;
        visual_ = visual;
        depth_ = attributes.depth;
        gc_ = XCreateGC(display, window, 0, nullptr);
        supported_ = gc_ != nullptr;
        return supported_;
    }

    bool fitImage(int width, int height) {
        if (image_ && width == width_ && height == height_) return true;
        release();
        image_ = XShmCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr, &segment_,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (!image_) return giveUp();
        if (image_->bits_per_pixel != 32) return giveUp();
        segment_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height),
                                IPC_CREAT | 0600);
        if (segment_.shmid < 0) return giveUp();
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        if (segment_.shmaddr == reinterpret_cast<char*>(-1)) {
            segment_.shmaddr = image_->data = nullptr;
            shmctl(segment_.shmid, IPC_RMID, nullptr);
            return giveUp();
        }
        segment_.readOnly = False;
        // A server on another machine cannot attach; it says so with an error.
        attachFailed = false;
        XErrorHandler previous = XSetErrorHandler(noteAttachError);
        XShmAttach(display_, &segment_);
        XSync(display_, False);
        XSetErrorHandler(previous);
        // Marked for removal now, the segment goes when both sides detach,
        // however the process ends.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
        if (attachFailed) return giveUp();
        attached_ = true;
        width_ = width;
        height_ = height;
        return true;
    }

    // The frame is RGBA rows bottom-up; the image wants the visual's pixels
    // top row first.
    void convert(const unsigned char* rgba, int width, int height) {
        const int rs = redShift_, gs = greenShift_, bs = blueShift_;
        // The usual visual (red in the third byte, as BGRA) gets a loop of
        // fixed shifts, which the compiler turns into vector code.
        const bool usual = rs == 16 && gs == 8 && bs == 0;
        for (int row = 0; row < height; ++row) {
            const unsigned char* in = rgba + static_cast<size_t>(height - 1 - row) * width * 4;
            auto* __restrict out =
                reinterpret_cast<uint32_t*>(image_->data + static_cast<size_t>(row) * image_->bytes_per_line);
            if (usual) {
                convertRow(out, in, width);
                continue;
            }
            for (int x = 0; x < width; ++x)
                out[x] = static_cast<uint32_t>(in[4 * x]) << rs | static_cast<uint32_t>(in[4 * x + 1]) << gs |
                         static_cast<uint32_t>(in[4 * x + 2]) << bs;
        }
    }

    static void convertRow(uint32_t* out, const unsigned char* in, int width) {
        static const auto swap = swapRedBlue();
        swap(out, in, width);
    }

    void release() {
        copying_ = false;
        if (attached_) {
            XShmDetach(display_, &segment_);
            XSync(display_, False);
            attached_ = false;
        }
        if (segment_.shmaddr) shmdt(segment_.shmaddr);
        segment_.shmaddr = nullptr;
        if (image_) {
            // The pixels live in the segment and the segment record is ours.
            image_->data = nullptr;
            image_->obdata = nullptr;
            XDestroyImage(image_);
            image_ = nullptr;
        }
        width_ = height_ = 0;
    }

    // Shared memory that fails once is not tried again.
    bool giveUp() {
        release();
        supported_ = false;
        return false;
    }

    bool checked_ = false, supported_ = false, attached_ = false;
    bool copying_ = false;  // a frame was sent and may not have been copied yet
    Display* display_ = nullptr;
    Window window_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    GC gc_ = nullptr;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    int width_ = 0, height_ = 0;
    int redShift_ = 0, greenShift_ = 0, blueShift_ = 0;
};

// Never destroyed: the window thread may still present while the process exits.
ShmPresenter& presenter() {
    static ShmPresenter* const instance = new ShmPresenter;
    return *instance;
}

}  // namespace

bool platformPresentFrame(const unsigned char* rgba, int width, int height, int windowHeight) {
    return presenter().present(rgba, width, height, windowHeight);
}
