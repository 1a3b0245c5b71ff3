// Linux backend, window: labels the GLUT window so that tools and dialogs can
// find it and window managers show its title; makes its key repeats presses
// only; and answers what the window thread asks of the X server.
//   implemented: every function of the section.
//   differs from Windows: a display must be reachable (Windows always has a
//     window station), and start-up keeps a connection to it until GLUT has
//     its own; XKB's detectable auto-repeat on GLUT's connection makes
//     repeats arrive as presses only, as on Windows; whether a key is down
//     comes from the X server's key map; the largest window is the X screen's
//     size (Windows' maximum tracking size); titles are also written as UTF-8
//     (_NET_WM_NAME) beside GLUT's Latin-1.
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "core/messages.h"
#include "platform/linux/text.h"
#include "platform/linux/window.h"
#include "platform/platform.h"

namespace {

std::atomic<Window> createdWindow{0};
Display* windowDisplay = nullptr;  // GLUT's connection; used on the window thread only
// The engine's own connection from the test of the window system until GLUT's
// exists: an X server resets when its last client leaves, and refuses or
// never answers connections meanwhile, so this one leaves only after GLUT's
// has arrived. Window thread only.
Display* startConnection = nullptr;

}  // namespace

Window gameWindowId() { return createdWindow.load(); }
Display* gameWindowDisplay() { return windowDisplay; }

void platformNoteGameWindow() {
    if (startConnection) XCloseDisplay(startConnection);
    startConnection = nullptr;
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
    // X sends a held key's repeats as release and press pairs, which GLUT
    // would pass on as key-ups; with detectable repeat only the presses come.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(display, True, &detectable);
    if (!detectable) platformWarningLine(kMsgKeyRepeatReleases);
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

bool platformWindowSystemReachable() {
    // A server that another program just left may be resetting: asked again
    // for two seconds, unless no display is named at all.
    const char* name = XDisplayName(nullptr);
    for (int attempt = 0; !startConnection; ++attempt) {
        startConnection = XOpenDisplay(nullptr);
        if (!startConnection && (!name || !*name || attempt == 40)) return false;
        if (!startConnection) usleep(50 * 1000);
    }
    return true;
}

void platformLargestWindow(int* width, int* height) {
    // Larger windows are accepted up to 65535 pixels, but each frame would
    // then clear gigabytes; Windows keeps a top-level window about the
    // screen's size too.
    if (!windowDisplay) {
        *width = *height = 65535;
        return;
    }
    const int screen = DefaultScreen(windowDisplay);
    *width = DisplayWidth(windowDisplay, screen);
    *height = DisplayHeight(windowDisplay, screen);
}

// X takes any size from 1 by 1 (a window manager may refuse some).
void platformSmallestWindow(int* width, int* height) { *width = *height = 1; }

namespace {

// The keysyms with which X makes the key GLUT reports as code. GLUT passes the
// character a key types, so a letter matches in either case.
std::vector<KeySym> keysymsOf(bool special, int code) {
    if (special) {
        if (code >= 1 && code <= 12) return {static_cast<KeySym>(XK_F1 + code - 1)};
        switch (code) {
        case 100:
            return {XK_Left, XK_KP_Left};
        case 101:
            return {XK_Up, XK_KP_Up};
        case 102:
            return {XK_Right, XK_KP_Right};
        case 103:
            return {XK_Down, XK_KP_Down};
        case 104:
            return {XK_Prior, XK_KP_Prior};
        case 105:
            return {XK_Next, XK_KP_Next};
        case 106:
            return {XK_Home, XK_KP_Home};
        case 107:
            return {XK_End, XK_KP_End};
        case 108:
            return {XK_Insert, XK_KP_Insert};
        case 0x6D:
            return {XK_Num_Lock};
        case 0x6E:
            return {XK_Begin, XK_KP_Begin};
        case 0x6F:
            return {XK_Delete, XK_KP_Delete};
        case 0x70:
            return {XK_Shift_L};
        case 0x71:
            return {XK_Shift_R};
        case 0x72:
            return {XK_Control_L};
        case 0x73:
            return {XK_Control_R};
        case 0x74:
            return {XK_Alt_L};
        case 0x75:
            return {XK_Alt_R};
        case 0x76:
            return {XK_Super_L};
        case 0x77:
            return {XK_Super_R};
        default:
            return {};
        }
    }
    switch (code) {
    case 8:
        return {XK_BackSpace};
    case 9:
        return {XK_Tab, XK_ISO_Left_Tab, XK_KP_Tab};
    case 13:
        return {XK_Return, XK_KP_Enter};
    case 27:
        return {XK_Escape};
    case 127:
        return {XK_Delete, XK_KP_Delete};
    case ' ':
        return {XK_space, XK_KP_Space};
    case '*':
        return {XK_asterisk, XK_KP_Multiply};
    case '+':
        return {XK_plus, XK_KP_Add};
    case '-':
        return {XK_minus, XK_KP_Subtract};
    case '.':
        return {XK_period, XK_KP_Decimal};
    case '/':
        return {XK_slash, XK_KP_Divide};
    case '=':
        return {XK_equal, XK_KP_Equal};
    default:
        break;
    }
    if (code >= 1 && code <= 26) return {static_cast<KeySym>(XK_a + code - 1)};  // with Control
    if (code >= '0' && code <= '9') return {static_cast<KeySym>(code), static_cast<KeySym>(XK_KP_0 + code - '0')};
    if ((code > ' ' && code < 127) || (code >= 160 && code <= 255)) return {static_cast<KeySym>(code)};
    return {};
}

KeySym lowerCase(KeySym symbol) {
    KeySym lower, upper;
    XConvertCase(symbol, &lower, &upper);
    return lower;
}

// Whether any of the keyboard's symbols on keycode is one of wanted.
bool makes(Display* display, KeyCode keycode, const std::vector<KeySym>& wanted) {
    for (int group = 0; group < 4; ++group)
        for (int level = 0; level < 4; ++level) {
            KeySym symbol = XkbKeycodeToKeysym(display, keycode, group, level);
            if (symbol == NoSymbol) continue;
            for (KeySym w : wanted)
                if (lowerCase(symbol) == lowerCase(w)) return true;
        }
    return false;
}

Bool isKeyRelease(Display*, XEvent* event, XPointer found) {
    if (event->type == KeyRelease) *reinterpret_cast<bool*>(found) = true;
    return False;  // leaves every event in the queue
}

}  // namespace

bool platformKeyHeld(bool special, int code) {
    if (!windowDisplay) return true;
    char keys[32];
    XQueryKeymap(windowDisplay, keys);
    // Events sent before the answer are in the queue now: a release among
    // them still reaches GLUT, with its key-up call.
    bool releaseQueued = false;
    XEvent unused;
    XCheckIfEvent(windowDisplay, &unused, isKeyRelease, reinterpret_cast<XPointer>(&releaseQueued));
    if (releaseQueued) return true;

    const std::vector<KeySym> wanted = keysymsOf(special, code);
    int minKeycode, maxKeycode;
    XDisplayKeycodes(windowDisplay, &minKeycode, &maxKeycode);
    maxKeycode = std::min(maxKeycode, 255);
    auto isDown = [&](int keycode) { return (keys[keycode / 8] >> (keycode % 8)) & 1; };
    bool anyDown = false;
    for (int keycode = minKeycode; keycode <= maxKeycode; ++keycode) {
        if (!isDown(keycode)) continue;
        anyDown = true;
        if (!wanted.empty() && makes(windowDisplay, static_cast<KeyCode>(keycode), wanted)) return true;
    }
    if (!anyDown) return false;
    // Some key is down: that one counts when no key of the keyboard makes the code.
    for (int keycode = minKeycode; keycode <= maxKeycode && !wanted.empty(); ++keycode)
        if (makes(windowDisplay, static_cast<KeyCode>(keycode), wanted)) return false;
    return true;
}
