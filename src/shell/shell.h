// Application shell: process entry and main loop, window and GL context, window procedure and
// input, frame timer. All state is process-wide and touched by the main thread only.
#pragma once
#include "platform/sys.h"

#include <cstdint>

int gameMain(int argc, char **argv);

// ---- entry and main loop ----
extern bool windowActive;   // false while the window is in the background: nothing is drawn
extern bool fullscreen;     // cleared by the windowed fall-back
extern bool quitRequested;  // the quit question was answered "Yes"
extern bool keyLatch;       // one-shot latch of the toggle keys
extern bool showFps;
extern int cameraMode;      // 0 or 1
extern int offscreenWidth, offscreenHeight; // blur texture size
extern const char *statsPageAddress; // the page's file, relative to the working directory
// Writes the statistics page from the career; returns its address for the browser, or null.
const char *writeStatsPage();
// Every seeding of the C random generator goes through here so --seed can fix it.
void seedRandomGenerator();
// Escape, C and F after each frame.
void handleToggleKeys();

// ---- window and GL context ----
extern bool instanceHandle, windowHandle, deviceContext, renderContext; // held or not
extern SysPixelFormat pixelFormatDescriptor;
bool openGameWindow(const char *title, int width, int height, int bits, bool fullscreenFlag);
void closeGameWindow();
bool isModeAvailable(int width, int height);

// ---- window procedure and input ----
extern bool keyDown[256];  // by virtual-key code
extern int mouseX, mouseY; // cursor on the virtual 800 x 600 menu screen, y from the top
intptr_t gameWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam);
// Reads the cursor and scales it to menu coordinates by the resolution's factor.
void updateMousePosition();
float mouseScale(int resolutionIndex);

// ---- frame timer ----
extern float frameTime; // smoothed frame duration in hundredths of a second
extern float fps;
void timerInit();
float timerGetTime(); // milliseconds since timerInit
void updateFrameClock();
