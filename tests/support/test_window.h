// The game's own window and GL context for tests, at a given size, with every message box
// answered so nothing waits for a person.
#pragma once
#include "common/common.h"
#include "shell/shell.h"

inline bool openTestWindow(const char *title, int width, int height)
{
    Sys_SetAutoAnswer(IDYES);
    setDefaultSettings();
    screenWidth = width;
    screenHeight = height;
    return openGameWindow(title, width, height, 32, false);
}
