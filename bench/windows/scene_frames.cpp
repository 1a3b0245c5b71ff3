// Scene S(N) (bench/scene.h) as a Windows program against Vindle.dll, timing
// every frame the DLL draws. The DLL's imports are redirected to see where a
// frame starts and ends on the window thread: it starts when freeglut asks the
// window's size (GetClientRect) or when the scene's passes take the engine
// lock (EnterCriticalSection), whichever comes first (a DLL that asks the size
// only to present is timed from its passes, so its clear is left out), and it
// ends with the flush of glutSwapBuffers, made a glFinish so OpenGL's queued
// work counts, as the Linux frame timer does. The time inside glDrawPixels is
// kept apart: with the compositor it is the present of the whole frame.
// Prints the medians of 100 frames after 20 to warm up, then ends.
//   BENCH_N=100 BENCH_RESOURCES=dir [VINDLE_RENDERER=gl] scene_frames.exe
#include <windows.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../scene.h"

namespace {

using GetClientRectFunc = BOOL(WINAPI*)(HWND, LPRECT);
using EnterFunc = void(WINAPI*)(LPCRITICAL_SECTION);
using FlushFunc = void(WINAPI*)();
using DrawPixelsFunc = void(WINAPI*)(GLsizei, GLsizei, GLenum, GLenum, const void*);

GetClientRectFunc realGetClientRect;
EnterFunc realEnter;
FlushFunc realFlush, realFinish;
DrawPixelsFunc realDrawPixels;

LARGE_INTEGER frequency;
double nowMs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / frequency.QuadPart;
}

constexpr int kWarmUp = 20, kFrames = 100;
DWORD windowThread = 0;
// Since the last frame ended: the first size asked, the last lock taken, that
// lock's time when the first glDrawPixels came, and the time in glDrawPixels.
double firstSize = 0, lastLock = 0, lockBeforeDraw = 0, drawPixelsMs = 0;
bool drew = false, flushed = false;
int seen = 0;
std::vector<double> frames, presents;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
}

void frameDone(double end) {
    double start = firstSize;
    if (lockBeforeDraw > 0 && (start == 0 || lockBeforeDraw < start)) start = lockBeforeDraw;
    if (start > 0 && ++seen > kWarmUp) {
        frames.push_back(end - start);
        presents.push_back(drawPixelsMs);
    }
    firstSize = lockBeforeDraw = drawPixelsMs = 0;
    drew = false;
    if (static_cast<int>(frames.size()) == kFrames) {
        printf("[frames] %d median %.3f ms, glDrawPixels %.3f ms\n", kFrames, median(frames), median(presents));
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 0);
    }
}

BOOL WINAPI timedGetClientRect(HWND window, LPRECT rect) {
    windowThread = GetCurrentThreadId();
    if (firstSize == 0) firstSize = nowMs();
    flushed = false;
    return realGetClientRect(window, rect);
}

void WINAPI timedEnter(LPCRITICAL_SECTION section) {
    realEnter(section);
    if (GetCurrentThreadId() != windowThread) return;
    lastLock = nowMs();
    flushed = false;
}

// A frame ends with two flushes in a row: the present's and the swap's.
void WINAPI timedFlush() {
    realFinish();
    const double now = nowMs();
    if (flushed && GetCurrentThreadId() == windowThread) {
        flushed = false;
        frameDone(now);
        return;
    }
    flushed = true;
}

void WINAPI timedDrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels) {
    const double start = nowMs();
    if (!drew) lockBeforeDraw = lastLock;
    drew = true;
    flushed = false;
    realDrawPixels(width, height, format, type, pixels);
    realFinish();
    drawPixelsMs += nowMs() - start;
}

// Points the module's import of dll!function at replacement; returns what it
// pointed at.
void* redirectImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(base + entry->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD protection;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            void* original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return original;
        }
    }
    return nullptr;
}

int count() {
    const char* n = getenv("BENCH_N");
    return n ? atoi(n) : 100;
}

void gameMain() {
    const char* resources = getenv("BENCH_RESOURCES");
    setResourcesDir(resources ? resources : ".");
    const int n = count();
    scene::create(n);
    for (int frame = 1;; ++frame) {
        scene::move(n, frame);
        pauseGame(2);
    }
}

}  // namespace

int main() {
    QueryPerformanceFrequency(&frequency);
    HMODULE dll = GetModuleHandleA("Vindle.dll");
    HMODULE gl = LoadLibraryA("opengl32.dll");
    realFinish = reinterpret_cast<FlushFunc>(reinterpret_cast<void*>(GetProcAddress(gl, "glFinish")));
    realGetClientRect = reinterpret_cast<GetClientRectFunc>(
        redirectImport(dll, "user32.dll", "GetClientRect", reinterpret_cast<void*>(timedGetClientRect)));
    realEnter = reinterpret_cast<EnterFunc>(
        redirectImport(dll, "kernel32.dll", "EnterCriticalSection", reinterpret_cast<void*>(timedEnter)));
    realFlush = reinterpret_cast<FlushFunc>(
        redirectImport(dll, "opengl32.dll", "glFlush", reinterpret_cast<void*>(timedFlush)));
    realDrawPixels = reinterpret_cast<DrawPixelsFunc>(
        redirectImport(dll, "opengl32.dll", "glDrawPixels", reinterpret_cast<void*>(timedDrawPixels)));
    if (!dll || !realFinish || !realGetClientRect || !realEnter || !realFlush || !realDrawPixels) {
        fprintf(stderr, "scene_frames: cannot reach Vindle.dll's imports\n");
        return 2;
    }
    zqInit(gameMain);
    return 0;
}
