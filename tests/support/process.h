// Running game programs for end-to-end tests: start, read their output, wait.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class GameProcess {
public:
    // Starts program (with arguments, through /bin/sh) with stdout and stderr
    // going to a temporary file; extraEnv is "NAME=value ..." put before it.
    explicit GameProcess(const std::string& commandLine, const std::string& extraEnv = "");
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    pid_t pid() const { return pid_; }
    std::string output() const;
    // Polls until the output contains text; false on timeout.
    bool waitForOutput(const std::string& text, int timeoutMs) const;
    // Waits for the end of the process: its exit status, 128 + signal when a
    // signal ended it, or -1 on timeout (the process is then killed).
    int wait(int timeoutMs);

private:
    pid_t pid_;
    std::string outputPath_;
    bool finished_ = false;
};

// The e2e games run natively by default. For the Windows build the same tests
// run the games under Wine, set by the environment:
//   VINDLE_E2E_GAMES     folder of the game programs (e2e_<name>.exe there)
//   VINDLE_E2E_LAUNCHER  command put before each game (the Wine loader)
//   VINDLE_E2E_CHARSET   the games' output encoding (GBK), read back as UTF-8
//                        with the text-mode line ends of Windows undone
// True when the games run under a launcher.
bool gamesUnderLauncher();
// A file's path as the game names it: under Wine its drive Z: holds the
// whole file system, and a Windows path keeps MCI's command parser happy.
// Quote it for the shell: it has backslashes.
std::string gamePath(const std::string& path);

// Polls condition every 20 ms until it holds; false on timeout.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
// Runs a shell command; returns its standard output.
std::string shellOutput(const std::string& command);
// Full path of an e2e game program by its source name ("exit_status").
std::string gameProgram(const std::string& name);
// The X window id of the process's GLUT window (waits for it); "" on timeout.
// Under Wine, the 1 by 1 "dummy parent" window Wine maps for OpenGL is skipped.
// Without a window property naming the process, the first visible window that
// still has the engine's initial title is taken: one game per display at a time.
std::string findGameWindow(pid_t pid, int timeoutMs);
// Ids of the visible windows whose title contains name (as xdotool prints them).
std::vector<std::string> windowsNamed(const std::string& name);
// The first visible window whose title contains name (waits for it); "" on timeout.
std::string findWindowByName(const std::string& name, int timeoutMs);
// The window that window is transient for ("" when none), as a decimal id.
std::string transientFor(const std::string& window);
// Asks a window to close as its close button does, with the window manager's
// message (WM_DELETE_WINDOW).
void closeWindow(const std::string& window);
// The window that has the keyboard focus, as a decimal id.
std::string focusedWindow();
// Waits until the new window has the keyboard. Wine without a window manager
// leaves the X focus where it was, so there the test gives it the focus.
bool waitForKeyboard(const std::string& window, int timeoutMs);
// A window's picture as the screen shows it, 8-bit RGB rows from the top.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // The pixel at (x, y) from the top left as 0xRRGGBB.
    unsigned pixel(int x, int y) const {
        const unsigned char* p = &rgb[3 * (static_cast<size_t>(y) * width + x)];
        return p[0] << 16 | p[1] << 8 | p[2];
    }
};
// Empty (0 x 0) when the window cannot be read.
Screenshot screenshot(const std::string& window);
// The colour of one pixel of a window as "#RRGGBB"; "" when it cannot be read.
std::string windowPixel(const std::string& window, int x, int y);

// Fast key repeat on the test display while it lives (a hold of a second and
// a half repeats dozens of times), X's default rate afterwards. ok() is false
// when repeat could not be switched on.
class FastKeyRepeat {
public:
    FastKeyRepeat();
    ~FastKeyRepeat();
    FastKeyRepeat(const FastKeyRepeat&) = delete;
    FastKeyRepeat& operator=(const FastKeyRepeat&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};
