// Files for tests: a temporary folder removed afterwards, and whole-file
// writing and reading.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/vindle-test-XXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "";
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

inline std::string readBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
        fclose(file);
    }
    return bytes;
}
