#include "support/capture.h"

#include <unistd.h>

#include <cstdio>

namespace {

std::string capture(const std::function<void()>& body, bool withStderr) {
    fflush(stdout);
    fflush(stderr);
    FILE* sink = tmpfile();
    int saved = dup(fileno(stdout)), savedError = dup(fileno(stderr));
    dup2(fileno(sink), fileno(stdout));
    if (withStderr) dup2(fileno(sink), fileno(stderr));
    body();
    fflush(stdout);
    fflush(stderr);
    dup2(saved, fileno(stdout));
    dup2(savedError, fileno(stderr));
    close(saved);
    close(savedError);
    std::string text;
    rewind(sink);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, sink)) > 0) text.append(buffer, n);
    fclose(sink);
    return text;
}

}  // namespace

std::string captureStdout(const std::function<void()>& body) { return capture(body, false); }
std::string captureConsole(const std::function<void()>& body) { return capture(body, true); }
