// A throw-away resources directory for tests that need folders and files on
// disk.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class TempResources {
public:
    TempResources() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vindle-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempResources() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempResources(const TempResources&) = delete;
    TempResources& operator=(const TempResources&) = delete;

    const std::string& root() const { return root_; }
    // Full path of a path relative to the root.
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }
    // Creates a folder (and its parents) under the root; returns its full path.
    std::string folder(const std::string& relative) const {
        std::filesystem::create_directories(path(relative));
        return path(relative);
    }
    // Writes a file under the root, creating its folder; returns its full path.
    std::string file(const std::string& relative, const std::string& bytes = "") const {
        std::filesystem::path full = path(relative);
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary) << bytes;
        return full.string();
    }

private:
    std::string root_;
};
