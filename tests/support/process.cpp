#include "support/process.h"

#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

// Last: Xlib's macros would break the headers above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

GameProcess::GameProcess(const std::string& commandLine, const std::string& extraEnv) : pid_(-1) {
    char pattern[] = "/tmp/vindle-e2e-XXXXXX";
    int fd = mkstemp(pattern);
    outputPath_ = pattern;
    std::string shell = (extraEnv.empty() ? "exec " : "exec env " + extraEnv + " ") + commandLine;
    // A game ends by exit() with its threads and library caches alive on
    // purpose, so leak reports say nothing there; a real error gets a status
    // of its own, as a game's normal end is already 1.
    const char* sanitizerOptions = getenv("ASAN_OPTIONS");
    std::string gameSanitizerOptions = std::string(sanitizerOptions ? sanitizerOptions : "") +
                                       (sanitizerOptions ? ":" : "") + "detect_leaks=0:exitcode=86";
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        setenv("ASAN_OPTIONS", gameSanitizerOptions.c_str(), 1);
        // Mesa's software renderer syncs its worker threads in code that
        // ThreadSanitizer cannot see; drawing on one thread keeps reports ours.
        setenv("LP_NUM_THREADS", "0", 0);
        dup2(fd, 1);
        dup2(fd, 2);
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, 0);
        execl("/bin/sh", "sh", "-c", shell.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fd);
}

GameProcess::~GameProcess() {
    if (!finished_ && pid_ > 0) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(outputPath_.c_str());
}

namespace {

const char* setting(const char* name) {
    const char* value = getenv(name);
    return value && *value ? value : nullptr;
}

// Converts the games' output to UTF-8; a byte that is not valid there comes
// out as '?', so a wrong encoding fails the comparisons with readable text.
std::string toUtf8(const std::string& bytes, const char* charset) {
    iconv_t convert = iconv_open("UTF-8", charset);
    if (convert == reinterpret_cast<iconv_t>(-1)) return bytes;
    std::string text;
    std::string in = bytes;
    char* from = in.data();
    size_t left = in.size();
    char buffer[4096];
    while (left > 0) {
        char* to = buffer;
        size_t room = sizeof buffer;
        size_t result = iconv(convert, &from, &left, &to, &room);
        text.append(buffer, to - buffer);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            if (errno == EINVAL) break;  // a character still being written
            text += '?';
            ++from;
            --left;
        }
    }
    iconv_close(convert);
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
    return lines;
}

}  // namespace

bool gamesUnderLauncher() { return setting("VINDLE_E2E_LAUNCHER") != nullptr; }

std::string gamePath(const std::string& path) {
    if (!gamesUnderLauncher()) return path;
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

std::string GameProcess::output() const {
    std::ifstream in(outputPath_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const char* charset = setting("VINDLE_E2E_CHARSET");
    return charset ? toUtf8(text.str(), charset) : text.str();
}

bool GameProcess::waitForOutput(const std::string& text, int timeoutMs) const {
    return waitUntil([&] { return output().find(text) != std::string::npos; }, timeoutMs);
}

int GameProcess::wait(int timeoutMs) {
    int status = 0;
    bool done = waitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
    if (!done) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        finished_ = true;
        return -1;
    }
    finished_ = true;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string shellOutput(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
    return text;
}

std::string gameProgram(const std::string& name) {
    const char* folder = setting("VINDLE_E2E_GAMES");
    const char* launcher = setting("VINDLE_E2E_LAUNCHER");
    if (!launcher) return std::string(folder ? folder : E2E_GAME_DIR) + "/e2e_" + name;
    return std::string(launcher) + " " + (folder ? folder : E2E_GAME_DIR) + "/e2e_" + name + ".exe";
}

namespace {

// Wine maps a 1 by 1 override-redirect "dummy parent" window for a program
// that uses OpenGL; it is not the game's and takes no keyboard. Windows has
// no such window.
bool isWineDummyWindow(const std::string& id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XWindowAttributes attributes = {};
    const bool dummy = XGetWindowAttributes(display, std::stoul(id), &attributes) &&
                       (attributes.override_redirect || (attributes.width <= 1 && attributes.height <= 1));
    XCloseDisplay(display);
    return dummy;
}

}  // namespace

std::string findGameWindow(pid_t pid, int timeoutMs) {
    std::string id;
    waitUntil(
        [&] {
            // Wine names a window's class after its program, not its Windows class.
            const char* windowClass = gamesUnderLauncher() ? "e2e_" : "GLUT";
            std::istringstream lines(shellOutput("xdotool search --all --onlyvisible --pid " + std::to_string(pid) +
                                                 " --class " + windowClass + " 2>/dev/null"));
            id.clear();
            for (std::string line; id.empty() && std::getline(lines, line);)
                if (!line.empty() && !(gamesUnderLauncher() && isWineDummyWindow(line))) id = line;
            return !id.empty();
        },
        timeoutMs);
    return id;
}

namespace {
std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}
}  // namespace

std::vector<std::string> windowsNamed(const std::string& name) {
    std::vector<std::string> ids;
    std::istringstream lines(shellOutput("xdotool search --onlyvisible --name '" + name + "' 2>/dev/null"));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) ids.push_back(line);
    return ids;
}

std::string findWindowByName(const std::string& name, int timeoutMs) {
    std::string id;
    waitUntil(
        [&] {
            std::vector<std::string> ids = windowsNamed(name);
            if (!ids.empty()) id = ids.front();
            return !id.empty();
        },
        timeoutMs);
    return id;
}

std::string transientFor(const std::string& window) {
    // xprop prints "WM_TRANSIENT_FOR(WINDOW): window id # 0x200002".
    std::string out = shellOutput("xprop -id " + window + " WM_TRANSIENT_FOR 2>/dev/null");
    size_t hash = out.find("# 0x");
    if (hash == std::string::npos) return "";
    return std::to_string(std::stoul(out.substr(hash + 2), nullptr, 16));
}

void closeWindow(const std::string& window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

std::string focusedWindow() { return trimmed(shellOutput("xdotool getwindowfocus 2>/dev/null")); }

bool waitForKeyboard(const std::string& window, int timeoutMs) {
    if (gamesUnderLauncher()) shellOutput("xdotool windowfocus --sync " + window + " 2>/dev/null");
    return waitUntil([&] { return focusedWindow() == window; }, timeoutMs);
}

std::string windowPixel(const std::string& window, int x, int y) {
    // ImageMagick's text format: "0,0: (r,g,b)  #RRGGBB  srgb(...)".
    std::string out = shellOutput("import -window " + window + " -crop 1x1+" + std::to_string(x) + "+" +
                                  std::to_string(y) + " -depth 8 txt:- 2>/dev/null");
    size_t hash = out.find(" #", out.find("0,0:"));
    if (hash == std::string::npos || out.find("0,0:") == std::string::npos) return "";
    return out.substr(hash + 1, 7);
}

Screenshot screenshot(const std::string& window) {
    Screenshot shot;
    // A binary PPM: "P6\n<width> <height>\n255\n" and the samples.
    std::string ppm = shellOutput("import -window " + window + " -depth 8 ppm:- 2>/dev/null");
    int width = 0, height = 0, maximum = 0, headerEnd = 0;
    if (sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maximum, &headerEnd) != 3 || maximum != 255)
        return shot;
    size_t size = static_cast<size_t>(width) * height * 3;
    if (ppm.size() < headerEnd + 1 + size) return shot;
    shot.width = width;
    shot.height = height;
    shot.rgb.assign(ppm.begin() + headerEnd + 1, ppm.begin() + headerEnd + 1 + size);
    return shot;
}

namespace {
bool setKeyRepeat(unsigned delayMs, unsigned intervalMs) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XAutoRepeatOn(display);
    unsigned delay = 0, interval = 0;
    bool done = XkbSetAutoRepeatRate(display, XkbUseCoreKbd, delayMs, intervalMs) &&
                XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) && delay == delayMs;
    XKeyboardState state;
    XGetKeyboardControl(display, &state);
    XCloseDisplay(display);
    return done && state.global_auto_repeat == AutoRepeatModeOn;
}
}  // namespace

FastKeyRepeat::FastKeyRepeat() : ok_(setKeyRepeat(250, 30)) {}
FastKeyRepeat::~FastKeyRepeat() { setKeyRepeat(660, 40); }
