// Scene S(N) (bench/scene.h) as a Windows program against Vindle.dll, timing
// every frame the DLL draws. The DLL's imports are redirected: a frame starts
// when freeglut asks the window's size for it (GetClientRect) and ends with
// the flush of glutSwapBuffers, which is made a glFinish so OpenGL's queued
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
using FlushFunc = void(WINAPI*)();
using DrawPixelsFunc = void(WINAPI*)(GLsizei, GLsizei, GLenum, GLenum, const void*);

GetClientRectFunc realGetClientRect;
FlushFunc realFlush, realFinish;
DrawPixelsFunc realDrawPixels;

LARGE_INTEGER frequency;
double nowMs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / frequency.QuadPart;
}

constexpr int kWarmUp = 20, kFrames = 100;
double frameStart = 0, lastFlush = 0, drawPixelsMs = 0;
int seen = 0;
std::vector<double> frames, presents;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
}

// The window thread's frame ends at its last flush before the next starts.
void frameDone() {
    if (frameStart == 0 || lastFlush <= frameStart) return;
    if (++seen > kWarmUp) {
        frames.push_back(lastFlush - frameStart);
        presents.push_back(drawPixelsMs);
    }
    if (static_cast<int>(frames.size()) == kFrames) {
        printf("[frames] %d median %.3f ms, glDrawPixels %.3f ms\n", kFrames, median(frames), median(presents));
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 0);
    }
}

BOOL WINAPI timedGetClientRect(HWND window, LPRECT rect) {
    const double now = nowMs();
    if (lastFlush > frameStart) {
        frameDone();
        frameStart = now;
        drawPixelsMs = 0;
    } else if (frameStart == 0) {
        frameStart = now;
    }
    return realGetClientRect(window, rect);
}

void WINAPI timedFlush() {
    realFinish();
    lastFlush = nowMs();
}

void WINAPI timedDrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels) {
    const double start = nowMs();
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
    realFlush = reinterpret_cast<FlushFunc>(
        redirectImport(dll, "opengl32.dll", "glFlush", reinterpret_cast<void*>(timedFlush)));
    realDrawPixels = reinterpret_cast<DrawPixelsFunc>(
        redirectImport(dll, "opengl32.dll", "glDrawPixels", reinterpret_cast<void*>(timedDrawPixels)));
    if (!dll || !realFinish || !realGetClientRect || !realFlush || !realDrawPixels) {
        fprintf(stderr, "scene_frames: cannot reach Vindle.dll's imports\n");
        return 2;
    }
    zqInit(gameMain);
    return 0;
}
