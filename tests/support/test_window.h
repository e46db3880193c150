// The game's own window and GL context for tests, at a given size, with every message box
// answered so nothing waits for a person.
#pragma once
#include "common/common.h"
#include "render/images.h"
#include "shell/shell.h"

inline bool openTestWindow(const char *title, int width, int height)
{
    Sys_SetAutoAnswer(IDYES);
    setDefaultSettings();
    screenWidth = width;
    screenHeight = height;
    return openGameWindow(title, width, height, 32, false);
}

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

// One game window for a whole test program, opened in a scratch directory that holds the game's
// shaders, so the renderer starts as it does in the game. Register it with
// ::testing::AddGlobalTestEnvironment (runInScratchWindow does); tests check `opened` first.
struct ScratchWindow : ::testing::Environment {
    TempDir dir;
    std::filesystem::path previous;
    bool opened = false;
    int width, height;
    std::function<void(const TempDir &)> prepare; // writes what the window's start needs beside the shaders

    ScratchWindow(int w, int h) : width(w), height(h) {}
    void SetUp() override
    {
        std::filesystem::copy(std::filesystem::path(COBALT_SOURCE_DIR) / "data/shaders", dir.path / "base/shaders",
                              std::filesystem::copy_options::recursive);
        if (prepare)
            prepare(dir);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        opened = openTestWindow("test window", width, height);
        if (opened)
            loadStartupRest(); // as the loading screen's second frame does
    }
    void TearDown() override
    {
        if (opened)
            closeGameWindow();
        std::filesystem::current_path(previous);
    }
};

// A test program's main: every test with one ScratchWindow of the given size open as `window`.
inline int runInScratchWindow(int argc, char **argv, ScratchWindow *&window, int width, int height,
                              std::function<void(const TempDir &)> prepare = {})
{
    ::testing::InitGoogleTest(&argc, argv);
    window = new ScratchWindow(width, height);
    window->prepare = std::move(prepare);
    ::testing::AddGlobalTestEnvironment(window);
    return RUN_ALL_TESTS();
}
