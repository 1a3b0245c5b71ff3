// Linux backend, dialogs: message boxes as small X windows of their own, drawn
// with Xft so Chinese shows without touching the process locale, and transient
// for the game window when they belong to it. Boxes talk to the X server over
// a connection of their own, one box at a time, and never call GLUT, so any
// thread may show one while the window thread draws.
//   implemented: platformMessageBox.
//   differs from Windows: in place of MessageBoxA; while a box belongs to the
//     game window, an input-only window laid over the game window takes its
//     pointer and keys, as Windows disables a box's owner; the buttons' labels
//     come from core/messages.h.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "core/messages.h"
#include "platform/linux/text.h"
#include "platform/linux/window.h"
#include "platform/platform.h"

namespace {

// One box at a time: boxes share one X connection, Xft's caches are not
// thread-safe, and two modal boxes would fight over the keyboard.
std::mutex& boxTurn() {
    static std::mutex* const turn = new std::mutex;  // never destroyed: boxes may outlive exit handlers
    return *turn;
}

// An error on the boxes' connection (an owner window that is gone, focus that
// cannot be given) is not worth ending the process for, as Xlib's default
// handler would; errors on other connections go to the handler set before.
std::atomic<Display*> boxDisplay{nullptr};
std::atomic<XErrorHandler> previousErrorHandler{nullptr};
int onXError(Display* display, XErrorEvent* error) {
    if (display == boxDisplay.load()) return 0;
    XErrorHandler previous = previousErrorHandler.load();
    return previous ? previous(display, error) : 0;
}

constexpr char kFontPattern[] = "sans-serif:lang=zh-cn:pixelsize=14";
constexpr int kMargin = 20;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;
constexpr int kMaxTextWidth = 480;
constexpr int kButtonWidth = 86;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 10;
constexpr int kFooterHeight = 48;
constexpr unsigned kShieldSize = 32767;  // covers the owner whatever its size

enum class Icon { none, question, error };

struct Button {
    const char* label;
    int result;
    int x = 0;
    int y = 0;
};

size_t characterLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

class Box {
public:
    Box(Display* display, const char* text, const char* caption, int style, Window owner)
        : display_(display), screen_(DefaultScreen(display)), caption_(gameTextAsUtf8(caption)), owner_(owner) {
        if (style == PLATFORM_BOX_YESNO_QUESTION) {
            buttons_ = {{kMsgButtonYes, PLATFORM_BOX_IDYES}, {kMsgButtonNo, PLATFORM_BOX_IDNO}};
            escapeResult_ = PLATFORM_BOX_IDNO;
            icon_ = Icon::question;
        } else {
            buttons_ = {{kMsgButtonOk, PLATFORM_BOX_IDOK}};
            escapeResult_ = PLATFORM_BOX_IDOK;
            icon_ = style == PLATFORM_BOX_ERROR ? Icon::error : Icon::none;
        }
        text_ = gameTextAsUtf8(text);
    }

    ~Box() {
        if (shield_) XDestroyWindow(display_, shield_);
        if (draw_) XftDrawDestroy(draw_);
        Visual* visual = DefaultVisual(display_, screen_);
        Colormap colormap = DefaultColormap(display_, screen_);
        for (XftColor* color : allocated_) XftColorFree(display_, visual, colormap, color);
        if (gc_) XFreeGC(display_, gc_);
        if (window_) {
            XDestroyWindow(display_, window_);
            // The keyboard goes back to whoever had it (the game window, or
            // whatever the pointer is over) rather than to the root window.
            if (previousFocus_ != None) XSetInputFocus(display_, previousFocus_, RevertToParent, CurrentTime);
        }
        if (font_) XftFontClose(display_, font_);
        XFlush(display_);
    }
    Box(const Box&) = delete;
    Box& operator=(const Box&) = delete;

    // Shows the box and returns the button chosen, or PLATFORM_BOX_FAILED.
    int run() {
        font_ = XftFontOpenName(display_, screen_, kFontPattern);
        if (!font_) return PLATFORM_BOX_FAILED;
        layOut();
        if (!createWindow()) return PLATFORM_BOX_FAILED;
        int revert;
        XGetInputFocus(display_, &previousFocus_, &revert);
        if (shield_) XMapWindow(display_, shield_);
        XMapRaised(display_, window_);
        while (true) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.xany.window != window_) continue;
            int result = handle(event);
            if (result != PLATFORM_BOX_FAILED) return result;
        }
    }

private:
    int textWidth(const std::string& text) {
        XGlyphInfo extents;
        XftTextExtentsUtf8(display_, font_, reinterpret_cast<const FcChar8*>(text.data()),
                           static_cast<int>(text.size()), &extents);
        return extents.xOff;
    }

    // Breaks the text into lines no wider than kMaxTextWidth: at spaces where a
    // line has them, between any two characters otherwise (Chinese has no spaces).
    void wrapParagraph(const std::string& paragraph) {
        std::string line;
        size_t breakAfterSpace = 0;
        for (size_t i = 0; i < paragraph.size();) {
            size_t length = std::min(characterLength(static_cast<unsigned char>(paragraph[i])), paragraph.size() - i);
            std::string character = paragraph.substr(i, length);
            i += length;
            if (character == "\t") character = "    ";
            if (!line.empty() && textWidth(line + character) > kMaxTextWidth) {
                if (character == " ") {
                    lines_.push_back(line);
                    line.clear();
                    breakAfterSpace = 0;
                    continue;
                }
                if (breakAfterSpace > 0 && static_cast<unsigned char>(character[0]) < 0x80) {
                    lines_.push_back(line.substr(0, breakAfterSpace - 1));
                    line.erase(0, breakAfterSpace);
                } else {
                    lines_.push_back(line);
                    line.clear();
                }
                breakAfterSpace = 0;
            }
            line += character;
            if (character == " ") breakAfterSpace = line.size();
        }
        lines_.push_back(line);
    }

    void layOut() {
        size_t start = 0;
        while (true) {
            size_t end = text_.find('\n', start);
            std::string paragraph = text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
            wrapParagraph(paragraph);
            if (end == std::string::npos) break;
            start = end + 1;
        }
        lineHeight_ = font_->ascent + font_->descent + 4;
        // A fatal message may run to thousands of characters: the box keeps to
        // the screen and ends the text it cannot show with an ellipsis.
        const int roomForLines = (DisplayHeight(display_, screen_) - 2 * kMargin - kFooterHeight - 80) / lineHeight_;
        const size_t maxLines = static_cast<size_t>(std::max(1, roomForLines));
        if (lines_.size() > maxLines) {
            lines_.resize(maxLines);
            lines_.back() = "…";
        }
        int widest = 0;
        for (const std::string& line : lines_) widest = std::max(widest, textWidth(line));
        const int iconSpace = icon_ == Icon::none ? 0 : kIconSize + kIconGap;
        const int textHeight = static_cast<int>(lines_.size()) * lineHeight_;
        const int buttonsWidth = static_cast<int>(buttons_.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
        width_ = std::max({2 * kMargin + iconSpace + widest, 2 * kMargin + buttonsWidth, 240});
        const int bodyHeight = std::max(textHeight, icon_ == Icon::none ? 0 : kIconSize);
        textX_ = kMargin + iconSpace;
        textY_ = kMargin + std::max(0, (bodyHeight - textHeight) / 2);
        footerTop_ = 2 * kMargin + bodyHeight;
        height_ = footerTop_ + kFooterHeight;
        int x = width_ - kMargin - buttonsWidth;
        for (Button& button : buttons_) {
            button.x = x;
            button.y = footerTop_ + (kFooterHeight - kButtonHeight) / 2;
            x += kButtonWidth + kButtonGap;
        }
    }

    // Centred over the owner when there is one, else on the screen.
    void placement(int& x, int& y) {
        int areaX = 0, areaY = 0;
        int areaWidth = DisplayWidth(display_, screen_), areaHeight = DisplayHeight(display_, screen_);
        if (owner_) {
            XWindowAttributes attributes;
            Window child;
            if (XGetWindowAttributes(display_, owner_, &attributes) &&
                XTranslateCoordinates(display_, owner_, RootWindow(display_, screen_), 0, 0, &areaX, &areaY, &child)) {
                areaWidth = attributes.width;
                areaHeight = attributes.height;
            }
        }
        x = std::max(0, areaX + (areaWidth - width_) / 2);
        y = std::max(0, areaY + (areaHeight - height_) / 2);
    }

    Atom atom(const char* name) { return XInternAtom(display_, name, False); }

    bool createWindow() {
        Window root = RootWindow(display_, screen_);
        int x, y;
        placement(x, y);
        XSetWindowAttributes attributes{};
        attributes.background_pixel = WhitePixel(display_, screen_);
        attributes.event_mask =
            ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
        window_ = XCreateWindow(display_, root, x, y, static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                                CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
        if (!window_) return false;

        const Atom utf8 = atom("UTF8_STRING");
        const auto* title = reinterpret_cast<const unsigned char*>(caption_.c_str());
        const int titleLength = static_cast<int>(caption_.size());
        XChangeProperty(display_, window_, XA_WM_NAME, utf8, 8, PropModeReplace, title, titleLength);
        XChangeProperty(display_, window_, atom("_NET_WM_NAME"), utf8, 8, PropModeReplace, title, titleLength);

        char name[] = "vindle-dialog", className[] = "Vindle";
        XClassHint classHint{name, className};
        XSetClassHint(display_, window_, &classHint);
        XWMHints hints{};
        hints.flags = InputHint | StateHint;
        hints.input = True;
        hints.initial_state = NormalState;
        XSetWMHints(display_, window_, &hints);
        XSizeHints size{};
        size.flags = USPosition | PPosition | PSize | PMinSize | PMaxSize;
        size.x = x;
        size.y = y;
        size.width = size.min_width = size.max_width = width_;
        size.height = size.min_height = size.max_height = height_;
        XSetWMNormalHints(display_, window_, &size);

        deleteWindow_ = atom("WM_DELETE_WINDOW");
        XSetWMProtocols(display_, window_, &deleteWindow_, 1);
        Atom dialogType = atom("_NET_WM_WINDOW_TYPE_DIALOG");
        XChangeProperty(display_, window_, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&dialogType), 1);
        long pid = getpid();
        XChangeProperty(display_, window_, atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&pid), 1);
        if (owner_) {
            XSetTransientForHint(display_, window_, owner_);
            shield_ = createShield();
            Atom modal = atom("_NET_WM_STATE_MODAL");
            XChangeProperty(display_, window_, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&modal), 1);
        }

        gc_ = XCreateGC(display_, window_, 0, nullptr);
        draw_ = XftDrawCreate(display_, window_, DefaultVisual(display_, screen_), DefaultColormap(display_, screen_));
        return gc_ && draw_ && color(0, 0, 0, black_) && color(0xFFFF, 0xFFFF, 0xFFFF, white_) &&
               color(0xF0F0, 0xF0F0, 0xF0F0, footer_) && color(0xE1E1, 0xE1E1, 0xE1E1, face_) &&
               color(0xADAD, 0xADAD, 0xADAD, edge_) && color(0x0000, 0x7878, 0xD7D7, focus_) &&
               color(0x1E1E, 0x6464, 0xC8C8, question_) && color(0xD0D0, 0x2020, 0x2020, error_);
    }

    // An input-only child covering the owner that lets no pointer or key event
    // through to it; drawing goes on underneath.
    Window createShield() {
        XSetWindowAttributes attributes{};
        attributes.do_not_propagate_mask =
            KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ButtonMotionMask;
        return XCreateWindow(display_, owner_, 0, 0, kShieldSize, kShieldSize, 0, 0, InputOnly, CopyFromParent,
                             CWDontPropagate, &attributes);
    }

    bool color(unsigned short red, unsigned short green, unsigned short blue, XftColor& out) {
        XRenderColor value{red, green, blue, 0xFFFF};
        if (!XftColorAllocValue(display_, DefaultVisual(display_, screen_), DefaultColormap(display_, screen_), &value,
                                &out))
            return false;
        allocated_.push_back(&out);
        return true;
    }

    void fill(const XftColor& color, int x, int y, int w, int h) {
        XSetForeground(display_, gc_, color.pixel);
        XFillRectangle(display_, window_, gc_, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    }

    void drawString(const XftColor& color, int x, int baseline, const std::string& text) {
        XftDrawStringUtf8(draw_, &color, font_, x, baseline, reinterpret_cast<const FcChar8*>(text.data()),
                          static_cast<int>(text.size()));
    }

    void drawCentred(const XftColor& color, int x, int y, int w, int h, const std::string& text) {
        const int baseline = y + (h - (font_->ascent + font_->descent)) / 2 + font_->ascent;
        drawString(color, x + (w - textWidth(text)) / 2, baseline, text);
    }

    void drawIcon() {
        if (icon_ == Icon::none) return;
        const int x = kMargin,
                  y = textY_ + std::max(0, (static_cast<int>(lines_.size()) * lineHeight_ - kIconSize) / 2);
        XSetForeground(display_, gc_, (icon_ == Icon::question ? question_ : error_).pixel);
        XFillArc(display_, window_, gc_, x, y, kIconSize, kIconSize, 0, 360 * 64);
        if (icon_ == Icon::question) {
            drawCentred(white_, x, y, kIconSize, kIconSize, "?");
            return;
        }
        XSetForeground(display_, gc_, white_.pixel);
        XSetLineAttributes(display_, gc_, 3, LineSolid, CapRound, JoinRound);
        XDrawLine(display_, window_, gc_, x + 10, y + 10, x + 22, y + 22);
        XDrawLine(display_, window_, gc_, x + 22, y + 10, x + 10, y + 22);
        XSetLineAttributes(display_, gc_, 1, LineSolid, CapButt, JoinMiter);
    }

    void redraw() {
        fill(white_, 0, 0, width_, footerTop_);
        fill(footer_, 0, footerTop_, width_, height_ - footerTop_);
        drawIcon();
        int baseline = textY_ + font_->ascent + 2;
        for (const std::string& line : lines_) {
            drawString(black_, textX_, baseline, line);
            baseline += lineHeight_;
        }
        for (size_t i = 0; i < buttons_.size(); ++i) {
            const Button& button = buttons_[i];
            const bool hasFocus = static_cast<int>(i) == focused_;
            const int border = hasFocus ? 2 : 1;
            fill(hasFocus ? focus_ : edge_, button.x, button.y, kButtonWidth, kButtonHeight);
            fill(face_, button.x + border, button.y + border, kButtonWidth - 2 * border, kButtonHeight - 2 * border);
            drawCentred(black_, button.x, button.y, kButtonWidth, kButtonHeight, button.label);
        }
        XFlush(display_);
    }

    int buttonAt(int x, int y) const {
        for (size_t i = 0; i < buttons_.size(); ++i) {
            const Button& button = buttons_[i];
            if (x >= button.x && x < button.x + kButtonWidth && y >= button.y && y < button.y + kButtonHeight)
                return static_cast<int>(i);
        }
        return -1;
    }

    int resultFor(int result) const {
        for (const Button& button : buttons_)
            if (button.result == result) return result;
        return PLATFORM_BOX_FAILED;
    }

    void moveFocus(int step) {
        const int count = static_cast<int>(buttons_.size());
        focused_ = (focused_ + step + count) % count;
        redraw();
    }

    // The button chosen by this event, or PLATFORM_BOX_FAILED to go on.
    int handle(XEvent& event) {
        switch (event.type) {
        case MapNotify:
            // No window manager gives a new window the keyboard; a modal box takes it.
            XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
            // Keys down now were pressed before the box was up: their repeats
            // and releases are not answers.
            XQueryKeymap(display_, heldBefore_);
            return PLATFORM_BOX_FAILED;
        case Expose:
            if (event.xexpose.count == 0) redraw();
            return PLATFORM_BOX_FAILED;
        case KeyPress:
            if (heldBeforeBox(event.xkey.keycode)) return PLATFORM_BOX_FAILED;
            switch (const KeySym key = XLookupKeysym(&event.xkey, 0)) {
            case XK_Return:
            case XK_KP_Enter:
            case XK_space:
            case XK_Escape:
            case XK_y:
            case XK_n:
                // Answered when the key comes up, so its release cannot reach
                // the game window and call the game's key-up handler.
                armedKey_ = key;
                return PLATFORM_BOX_FAILED;
            case XK_Tab:
                moveFocus((event.xkey.state & ShiftMask) ? -1 : 1);
                return PLATFORM_BOX_FAILED;
            case XK_Right:
            case XK_Down:
                moveFocus(1);
                return PLATFORM_BOX_FAILED;
            case XK_Left:
            case XK_Up:
            case XK_ISO_Left_Tab:
                moveFocus(-1);
                return PLATFORM_BOX_FAILED;
            default:
                return PLATFORM_BOX_FAILED;
            }
        case KeyRelease: {
            if (heldBeforeBox(event.xkey.keycode)) {
                heldBefore_[event.xkey.keycode / 8] &= static_cast<char>(~(1 << (event.xkey.keycode % 8)));
                return PLATFORM_BOX_FAILED;
            }
            // Only a key pressed while the box was open answers it.
            const KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key != armedKey_) return PLATFORM_BOX_FAILED;
            armedKey_ = NoSymbol;
            switch (key) {
            case XK_Return:
            case XK_KP_Enter:
            case XK_space:
                return buttons_[static_cast<size_t>(focused_)].result;
            case XK_Escape:
                return escapeResult_;
            case XK_y:
                return resultFor(PLATFORM_BOX_IDYES);
            case XK_n:
                return resultFor(PLATFORM_BOX_IDNO);
            default:
                return PLATFORM_BOX_FAILED;
            }
        }
        case ButtonPress:
            if (event.xbutton.button == Button1) {
                pressed_ = buttonAt(event.xbutton.x, event.xbutton.y);
                if (pressed_ >= 0 && pressed_ != focused_) {
                    focused_ = pressed_;
                    redraw();
                }
            }
            return PLATFORM_BOX_FAILED;
        case ButtonRelease:
            if (event.xbutton.button == Button1 && pressed_ >= 0 &&
                buttonAt(event.xbutton.x, event.xbutton.y) == pressed_)
                return buttons_[static_cast<size_t>(pressed_)].result;
            pressed_ = -1;
            return PLATFORM_BOX_FAILED;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) return escapeResult_;
            return PLATFORM_BOX_FAILED;
        default:
            return PLATFORM_BOX_FAILED;
        }
    }

    bool heldBeforeBox(unsigned keycode) const {
        return keycode < 256 && ((heldBefore_[keycode / 8] >> (keycode % 8)) & 1);
    }

    KeySym armedKey_ = NoSymbol;
    char heldBefore_[32] = {};
    Display* display_;
    int screen_;
    std::string text_;
    std::string caption_;
    Window owner_;
    Window previousFocus_ = None;
    std::vector<Button> buttons_;
    int escapeResult_ = PLATFORM_BOX_IDOK;
    Icon icon_ = Icon::none;
    int focused_ = 0;
    int pressed_ = -1;

    XftFont* font_ = nullptr;
    std::vector<std::string> lines_;
    int lineHeight_ = 0, width_ = 0, height_ = 0, textX_ = 0, textY_ = 0, footerTop_ = 0;

    Window window_ = 0;
    Window shield_ = 0;
    Atom deleteWindow_ = 0;
    GC gc_ = nullptr;
    XftDraw* draw_ = nullptr;
    XftColor black_{}, white_{}, footer_{}, face_{}, edge_{}, focus_{}, question_{}, error_{};
    std::vector<XftColor*> allocated_;
};

}  // namespace

int platformMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow) {
    std::lock_guard<std::mutex> turn(boxTurn());
    // One connection for every box, opened on first use and kept: closing it
    // would leave the Render library's per-display cache pointing at a freed
    // display that the next open may get back at the same address.
    static Display* display = nullptr;
    if (!display) {
        display = XOpenDisplay(nullptr);
        if (!display) return PLATFORM_BOX_FAILED;
        boxDisplay.store(display);
        previousErrorHandler.store(XSetErrorHandler(onXError));
        // A held key then repeats as presses alone, so its repeats cannot
        // answer a box as a press and release would.
        XkbSetDetectableAutoRepeat(display, True, nullptr);
    }
    XSync(display, True);  // drops events left over from an earlier box
    Box box(display, text, caption, style, ownedByGameWindow ? gameWindowId() : 0);
    return box.run();
}
