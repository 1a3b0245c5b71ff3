// Linux backend, present: the frame is composed straight into a shared memory
// image (MIT-SHM) in the window's pixel layout when the X server offers it,
// and shown with one XShmPutImage a frame, which the server copies while the
// window thread rests.
//   implemented: platformFrameMemory, platformPresentFrame.
//   differs from Windows: Windows has no way of its own (one glDrawPixels);
//     here a remote server, a visual other than 24-bit true colour with
//     8-bit components in RGB or BGR order, or VINDLE_PRESENT=gl leave it to
//     that glDrawPixels too.
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

// The component orders a frame can be composed in: red in the lowest byte of
// a pixel, or blue there (the usual one).
bool frameOrder(const Visual* visual, bool* redFirst) {
    if (visual->green_mask != 0xFF00ul) return false;
    if (visual->red_mask == 0xFFul && visual->blue_mask == 0xFF0000ul)
        *redFirst = true;
    else if (visual->red_mask == 0xFF0000ul && visual->blue_mask == 0xFFul)
        *redFirst = false;
    else
        return false;
    return true;
}

class ShmPresenter {
public:
    bool lend(int width, int height, PlatformFrameMemory* memory) {
        Display* display = gameWindowDisplay();
        const Window window = gameWindowId();
        if (!display || !window || !usable(display, window) || !fitImage(width, height)) return false;
        waitForCopy();
        const ptrdiff_t rowBytes = image_->bytes_per_line;
        *memory = PlatformFrameMemory{reinterpret_cast<unsigned char*>(image_->data) + rowBytes * (height - 1),
                                      -rowBytes, redFirst_};
        return true;
    }

    void present(int width, int height) {
        if (!image_ || width != width_ || height != height_) return;
        // The server says when it has copied the image with an event, which
        // GLUT's loop reads and passes over; reading it is what counts.
        putRequest_ = NextRequest(display_);
        XShmPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, static_cast<unsigned>(width),
                     static_cast<unsigned>(height), True);
        XFlush(display_);
        copying_ = true;
    }

private:
    // The server reads the segment after the request: the frame before must
    // have been copied before the next one is written. By then (a rest
    // later) its completion has almost always been read, and nothing waits.
    void waitForCopy() {
        if (!copying_) return;
        copying_ = false;
        auto copied = [this] { return static_cast<long>(LastKnownRequestProcessed(display_) - putRequest_) >= 0; };
        if (copied()) return;
        XEventsQueued(display_, QueuedAfterReading);
        if (!copied()) XSync(display_, False);
    }

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
            ImageByteOrder(display) != hostOrder || !frameOrder(visual, &redFirst_))
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
    bool copying_ = false;          // a frame was sent and may not have been copied yet
    unsigned long putRequest_ = 0;  // the request that sent it
    Display* display_ = nullptr;
    Window window_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    GC gc_ = nullptr;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    int width_ = 0, height_ = 0;
    bool redFirst_ = false;
};

// Never destroyed: the window thread may still present while the process exits.
ShmPresenter& presenter() {
    static ShmPresenter* const instance = new ShmPresenter;
    return *instance;
}

}  // namespace

bool platformFrameMemory(int width, int height, PlatformFrameMemory* memory) {
    return presenter().lend(width, height, memory);
}

void platformPresentFrame(int width, int height) { presenter().present(width, height); }
