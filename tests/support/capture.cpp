#include "support/capture.h"

#include <unistd.h>

#include <cstdio>

std::string captureStdout(const std::function<void()>& body) {
    fflush(stdout);
    FILE* sink = tmpfile();
    int saved = dup(fileno(stdout));
    dup2(fileno(sink), fileno(stdout));
    body();
    fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    std::string text;
    rewind(sink);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, sink)) > 0) text.append(buffer, n);
    fclose(sink);
    return text;
}
