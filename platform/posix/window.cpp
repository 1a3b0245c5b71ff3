// Linux backend: labels the GLUT window so that tools and dialogs can find it
// and window managers show its title.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <iconv.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/posix/x11window.h"

namespace {

std::atomic<Window> createdWindow{0};
Display* windowDisplay = nullptr;  // GLUT's connection; used on the window thread only

bool isUtf8(const char* s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
        int extra = *p < 0x80 ? 0 : (*p >> 5) == 6 ? 1 : (*p >> 4) == 14 ? 2 : (*p >> 3) == 30 ? 3 : -1;
        if (extra < 0) return false;
        ++p;
        for (int i = 0; i < extra; ++i, ++p)
            if ((*p & 0xC0) != 0x80) return false;
    }
    return true;
}

// Game strings are UTF-8, or GBK when the source was saved on Windows.
std::string toUtf8(const char* s) {
    if (isUtf8(s)) return s;
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return s;
    std::string out(strlen(s) * 3 + 4, '\0');
    char* in = const_cast<char*>(s);
    size_t inLeft = strlen(s), outLeft = out.size();
    char* dest = &out[0];
    while (inLeft > 0 && iconv(cd, &in, &inLeft, &dest, &outLeft) == static_cast<size_t>(-1)) {
        ++in;  // skip a byte that is not GBK either
        --inLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

Window gameWindowId() { return createdWindow.load(); }

void platformNoteGameWindow() {
    Display* display = glXGetCurrentDisplay();
    Window window = glXGetCurrentDrawable();
    if (!display || !window) return;
    windowDisplay = display;
    createdWindow.store(window);

    // The class that dialogs look for, and the process id that tools search by.
    XClassHint hint;
    hint.res_name = const_cast<char*>("vindle");
    hint.res_class = const_cast<char*>("GLUT");
    XSetClassHint(display, window, &hint);
    long pid = static_cast<long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    XFlush(display);
}

void platformNoteWindowTitle(const char* title) {
    Window window = createdWindow.load();
    if (!windowDisplay || !window) return;
    // GLUT labels the window in Latin-1; window managers read UTF-8 here.
    std::string utf8 = toUtf8(title ? title : "");
    Atom utf8String = XInternAtom(windowDisplay, "UTF8_STRING", False);
    for (const char* property : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
        XChangeProperty(windowDisplay, window, XInternAtom(windowDisplay, property, False), utf8String, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                        static_cast<int>(utf8.size()));
    XFlush(windowDisplay);
}
