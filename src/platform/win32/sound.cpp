// Windows backend, sound through MCI command strings, all sent from one
// thread of the backend's own. MCI keeps device names per thread: a sound
// the game thread opened could not be restarted or closed from a key handler
// on the window thread, and "close all" at exit from another thread never
// returns (Wine spins in it).
// Each file is its own "mpegvideo" device named by its short path, opened on
// its first play and kept open until it is closed: that device loops WAV
// files too (waveaudio refuses "repeat"), and "seek to start" restarts it in
// a few milliseconds where closing and opening again takes a hundred or more.
//   implemented: every function of the section.
//   differs from Windows: nothing.
// windows.h comes first: the others build on it.
#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/platform.h"
#include "platform/win32/mci.h"

namespace {

std::atomic<MciSendHook> sendHook{nullptr};

// Sound thread only.
int mci(const std::string& command, char* answer = nullptr, size_t answerSize = 0) {
    if (MciSendHook hook = sendHook.load()) return hook(command.c_str());
    if (answer && answerSize) answer[0] = '\0';
    return static_cast<int>(
        mciSendStringA(command.c_str(), answer, answer ? static_cast<UINT>(answerSize) : 0, nullptr));
}

// The thread every MCI command is sent from. It waits for work while taking
// the window messages sent to it, as a thread that owns MCI devices must.
class SoundThread {
public:
    SoundThread() : work_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        DWORD id;
        HANDLE thread = work_ ? CreateThread(nullptr, 0, loop, this, 0, &id) : nullptr;
        running_ = thread != nullptr;
        if (thread) CloseHandle(thread);
    }

    // Runs job there and returns its result, or PLATFORM_SOUND_HARDWARE when
    // the thread is missing or has not finished the job within timeoutMs.
    int run(std::function<int()> job, DWORD timeoutMs) {
        if (!running_) return PLATFORM_SOUND_HARDWARE;
        // Shared, so a job given up on may still finish safely.
        auto task = std::make_shared<Task>();
        task->job = std::move(job);
        task->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!task->done) return PLATFORM_SOUND_HARDWARE;
        {
            std::lock_guard<std::mutex> guard(lock_);
            queue_.push_back(task);
        }
        SetEvent(work_);
        if (WaitForSingleObject(task->done, timeoutMs) != WAIT_OBJECT_0) return PLATFORM_SOUND_HARDWARE;
        return task->result;
    }

private:
    struct Task {
        std::function<int()> job;
        int result = PLATFORM_SOUND_HARDWARE;
        HANDLE done = nullptr;
        ~Task() {
            if (done) CloseHandle(done);
        }
    };

    static DWORD WINAPI loop(void* self) {
        auto* thread = static_cast<SoundThread*>(self);
        for (;;) {
            MsgWaitForMultipleObjects(1, &thread->work_, FALSE, INFINITE, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            for (;;) {
                std::shared_ptr<Task> task;
                {
                    std::lock_guard<std::mutex> guard(thread->lock_);
                    if (thread->queue_.empty()) break;
                    task = thread->queue_.front();
                    thread->queue_.pop_front();
                }
                task->result = task->job();
                SetEvent(task->done);
            }
        }
    }

    HANDLE work_;
    bool running_ = false;
    std::mutex lock_;
    std::deque<std::shared_ptr<Task>> queue_;
};

std::atomic<bool> soundThreadStarted{false};

// Made on the first sound call, never destroyed: it outlives every caller.
SoundThread& soundThread() {
    static SoundThread* const thread = new SoundThread;
    soundThreadStarted.store(true);
    return *thread;
}

// The names opened here as mpegvideo devices. Sound thread only.
std::set<std::string>& openSounds() {
    static std::set<std::string>* const names = new std::set<std::string>;
    return *names;
}

int playOnSoundThread(const std::string& name, bool loop) {
    const std::string play = "play " + name + (loop ? " repeat" : "");
    if (openSounds().count(name) && mci("seek " + name + " to start") == 0) return mci(play);
    const int opened = mci("open " + name + " type mpegvideo alias " + name);
    if (opened == 0 || opened == MCIERR_DUPLICATE_ALIAS) {
        openSounds().insert(name);
        if (opened != 0) mci("seek " + name + " to start");
        return mci(play);
    }
    // The device for the file's type may still play it; if not, its error
    // is the one the game is told.
    return mci(play);
}

// Set once a play failed on a machine without any audio output: from then on
// plays succeed silently, so the game runs on. Holds the failing play's code.
std::atomic<int> silencedBy{0};

}  // namespace

int sendMciCommand(const char* command, char* answer, size_t answerSize, unsigned timeoutMs) {
    const std::string text = command ? command : "";
    return soundThread().run([text, answer, answerSize] { return mci(text, answer, answerSize); }, timeoutMs);
}

void setMciSendHook(MciSendHook hook) { sendHook.store(hook); }

int platformPlaySound(const char* path, bool loop) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    if (silencedBy.load() != 0) return PLATFORM_SOUND_OK;
    const std::string name = path;
    const int result = soundThread().run([name, loop] { return playOnSoundThread(name, loop); }, INFINITE);
    if (result == 0 || waveOutGetNumDevs() != 0) return result;
    int expected = 0;
    return silencedBy.compare_exchange_strong(expected, result) ? PLATFORM_SOUND_SILENCED : PLATFORM_SOUND_OK;
}

int platformCloseSound(const char* path) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    const std::string name = path;
    return soundThread().run(
        [name] {
            openSounds().erase(name);
            return mci("close " + name);
        },
        INFINITE);
}

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    dest[0] = '\0';
    // For a silenced play, the reason is the text of the play that failed.
    if (code == PLATFORM_SOUND_SILENCED) code = silencedBy.load();
    if (!mciGetErrorStringA(static_cast<MCIERROR>(code), dest, static_cast<UINT>(size))) dest[0] = '\0';
}

// An MP3 still open through MCI when the process exits can crash it. The
// exit waits a bounded time: a sound thread stuck in a driver must not keep
// the process alive.
void platformBeforeExit() {
    if (!soundThreadStarted.load()) return;
    soundThread().run(
        [] {
            openSounds().clear();
            return mci("close all");
        },
        2000);
}
