// A throw-away resources folder for tests that need folders and files on disk.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "core/tables.h"
#include "scene/objects.h"
#include "support/fatal.h"
#include "support/pngfiles.h"
#include "vindle.h"

class TempResources {
public:
    const std::string& root() const { return dir_.path(); }
    std::string path(const std::string& relative) const { return dir_.file(relative); }
    // Creates a folder and its parents; returns its full path.
    std::string folder(const std::string& relative) const {
        std::filesystem::create_directories(path(relative));
        return path(relative);
    }
    // Writes a file, creating its folder; returns its full path.
    std::string file(const std::string& relative, const std::string& bytes = "") const {
        std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
        std::ofstream(path(relative), std::ios::binary) << bytes;
        return path(relative);
    }

private:
    TempDir dir_;
};

// A fixture for scene tests: empty tables, a resources folder of its own, and
// fatal message boxes copied to stderr for death tests.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearGameUI();
        reportFatalBoxes();
        setResourcesDir(res.root().c_str());
        setBgColor(1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        clearGameUI();
        setResourcesDir("");
        platformSetMessageBoxHook(nullptr);
    }
    TempResources res;
};
