// Linux backend: labels the GLUT window so that tools and dialogs can find it
// and window managers show its title.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/posix/charset.h"
#include "platform/posix/x11window.h"

namespace {

std::atomic<Window> createdWindow{0};
Display* windowDisplay = nullptr;  // GLUT's connection; used on the window thread only

}  // namespace

Window gameWindowId() { return createdWindow.load(); }
Display* gameWindowDisplay() { return windowDisplay; }

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
    std::string utf8 = gameTextAsUtf8(title);
    Atom utf8String = XInternAtom(windowDisplay, "UTF8_STRING", False);
    for (const char* property : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
        XChangeProperty(windowDisplay, window, XInternAtom(windowDisplay, property, False), utf8String, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                        static_cast<int>(utf8.size()));
    XFlush(windowDisplay);
}
