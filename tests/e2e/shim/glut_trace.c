/* Preloaded into e2e games: reports on stdout when the engine creates its
   window and when it finishes its first frame, so tests can see the order of
   start-up and measure the time to the first frame; and each connection to
   the X server opened or closed. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

int glutCreateWindow(const char* title) {
    static int (*real)(const char*);
    if (!real) real = (int (*)(const char*))dlsym(RTLD_NEXT, "glutCreateWindow");
    printf("[trace] window created\n");
    fflush(stdout);
    return real(title);
}

void glutSwapBuffers(void) {
    static void (*real)(void);
    static int frames;
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    real();
    if (frames++ == 0) {
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        printf("[trace] first frame %lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);
        fflush(stdout);
    }
}

/* Xlib's types are left opaque: the shim is not built against it. */
void* XOpenDisplay(const char* name) {
    static void* (*real)(const char*);
    if (!real) real = (void* (*)(const char*))dlsym(RTLD_NEXT, "XOpenDisplay");
    void* display = real(name);
    printf("[trace] display %s\n", display ? "opened" : "refused");
    fflush(stdout);
    return display;
}

int XCloseDisplay(void* display) {
    static int (*real)(void*);
    if (!real) real = (int (*)(void*))dlsym(RTLD_NEXT, "XCloseDisplay");
    printf("[trace] display closed\n");
    fflush(stdout);
    return real(display);
}
