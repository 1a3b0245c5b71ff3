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

// Polls condition every 20 ms until it holds; false on timeout.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
// Runs a shell command; returns its standard output.
std::string shellOutput(const std::string& command);
// Full path of an e2e game program by its source name ("exit_status").
std::string gameProgram(const std::string& name);
// The X window id of the process's GLUT window (waits for it); "" on timeout.
// Without a window property naming the process, the first visible window that
// still has the engine's initial title is taken: one game per display at a time.
std::string findGameWindow(pid_t pid, int timeoutMs);
// Ids of the visible windows whose title contains name (as xdotool prints them).
std::vector<std::string> windowsNamed(const std::string& name);
// The first visible window whose title contains name (waits for it); "" on timeout.
std::string findWindowByName(const std::string& name, int timeoutMs);
// The window that window is transient for ("" when none), as a decimal id.
std::string transientFor(const std::string& window);
// The window that has the keyboard focus, as a decimal id.
std::string focusedWindow();
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
