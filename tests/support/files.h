// Files for tests: a temporary folder removed afterwards, and whole-file
// writing and reading. The same on Linux and on Windows (under Wine).
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "support/environment.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

// A path written with '/' as the system writes it: with '\\' on Windows.
inline std::string systemPath(std::string path) {
#if defined(_WIN32)
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

// A new folder in the system's temporary folder, named stem, the run and the
// test; "" when none could be made. On Windows a death test runs its test
// again in a new process up to the dying statement, and that process must
// find the folders its parent made: so names follow the run (an id the first
// process leaves in the environment, which its children inherit), the test,
// and how many folders the test made before.
inline std::string makeTempFolder(const std::string& stem) {
    static const std::string run = [] {
        if (const char* inherited = getenv("VINDLE_TEST_RUN")) return std::string(inherited);
        const std::string made =
            std::to_string(std::chrono::system_clock::now().time_since_epoch().count() % 1000000007) + "-" +
            std::to_string(std::random_device()() % 100000);
        setEnvironment("VINDLE_TEST_RUN", made.c_str());
        return made;
    }();
    static std::string lastTest;
    static int madeInTest = 0;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "outside";
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '.') c = '_';
    madeInTest = name == lastTest ? madeInTest + 1 : 1;
    lastTest = name;
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return "";
    const std::filesystem::path folder = base / (stem + run + "-" + name + "-" + std::to_string(madeInTest));
    std::filesystem::create_directories(folder, error);
    return error ? "" : folder.string();
}

class TempDir {
public:
    TempDir() : path_(makeTempFolder("vindle-test-")) {}
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    // The path of name (written with '/') in the folder, as the system writes it.
    std::string file(const std::string& name) const { return systemPath(path_ + "/" + name); }

private:
    std::string path_;
};

// Whether two paths name the same file as the system compares names: with
// either separator and in any letter case on Windows, exactly elsewhere.
inline bool samePath(const std::string& a, const std::string& b) {
#if defined(_WIN32)
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] == '/' ? '\\' : static_cast<char>(tolower(static_cast<unsigned char>(a[i])));
        const char y = b[i] == '/' ? '\\' : static_cast<char>(tolower(static_cast<unsigned char>(b[i])));
        if (x != y) return false;
    }
    return true;
#else
    return a == b;
#endif
}

// Makes a named pipe, which a read would block on. False where the file
// system has none (Windows).
inline bool makePipe(const std::string& path) {
#if defined(_WIN32)
    (void)path;
    return false;
#else
    return mkfifo(path.c_str(), 0600) == 0;
#endif
}

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
