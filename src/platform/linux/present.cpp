// Linux backend, present: the composed frame goes to the game window through
// a shared memory image (MIT-SHM) when the X server offers it, one
// XShmPutImage a frame.
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

class ShmPresenter {
public:
    bool present(const unsigned char* rgba, int width, int height, int windowHeight) {
        Display* display = gameWindowDisplay();
        const Window window = gameWindowId();
        if (!display || !window || !usable(display, window) || !fitImage(width, height)) return false;
        convert(rgba, width, height);
        XShmPutImage(display_, window_, gc_, image_, 0, 0, 0, windowHeight - height, static_cast<unsigned>(width),
                     static_cast<unsigned>(height), False);
        // The server reads the segment later; the next frame may write it
        // only once this one has been copied.
        XSync(display_, False);
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
        for (int row = 0; row < height; ++row) {
            const unsigned char* __restrict in = rgba + static_cast<size_t>(height - 1 - row) * width * 4;
            auto* __restrict out =
                reinterpret_cast<uint32_t*>(image_->data + static_cast<size_t>(row) * image_->bytes_per_line);
            for (int x = 0; x < width; ++x)
                out[x] = static_cast<uint32_t>(in[4 * x]) << rs | static_cast<uint32_t>(in[4 * x + 1]) << gs |
                         static_cast<uint32_t>(in[4 * x + 2]) << bs;
        }
    }

    void release() {
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
