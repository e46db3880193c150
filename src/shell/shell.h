// Application shell: process entry and main loop, window and GL context, window procedure, and
// running unattended (automation.h). All state is process-wide and touched by the main thread.
#pragma once
#include "platform/sys.h"

#include <cstdint>

// Returns the process's exit status: 0 after an orderly quit (or --help), otherwise one of these,
// each after a line on standard error that says what failed.
enum {
    EXIT_CANNOT_START = 1,     // no data folder, or the window or graphics could not be set up
    EXIT_BAD_COMMAND_LINE = 2, // a flag, input script or trace file the game cannot use
};
int gameMain(int argc, char **argv);

// ---- entry and main loop ----
extern bool windowActive;   // false while the window is in the background: nothing is drawn
extern bool fullscreen;     // cleared by the windowed fall-back
extern bool keyLatch;       // one-shot latch of the toggle keys
extern const char *statsPageAddress; // the page's file, in base/
// Writes the statistics page from the career; returns its address for the browser, or null.
const char *writeStatsPage();
// Escape, C and F after each frame.
void handleToggleKeys();

// ---- window and GL context ----
extern bool instanceHandle, windowHandle, deviceContext, renderContext; // held or not
extern SysPixelFormat pixelFormatDescriptor;
bool openGameWindow(const char *title, int width, int height, int bits, bool fullscreenFlag);
void closeGameWindow();

// ---- window procedure ----
intptr_t gameWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam);
