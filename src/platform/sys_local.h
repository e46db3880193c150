// State shared by the platform layer's own files.
#pragma once
#include "platform/sys.h"

#include <cstdint>

struct SysState {
    bool failStep[SYS_STEP_COUNT];
    bool windowFullscreen;
    int windowWidth, windowHeight;
    bool scriptedCursor;
    int cursorX, cursorY;
    double fixedFrameMs;  // 0: real clocks
    int64_t virtualMicros; // the fixed clock's reading
    int autoAnswer;
    bool headless;
};
extern SysState sys;

bool Sys_ShouldFail(SysStep step);
// Translates waiting SDL events into window messages (sys_sdl_events.cpp).
void Sys_PumpEvents();
// Shows a real box and returns the button pressed, or 0 when no box can be shown.
int Sys_ShowNativeBox(const char *text, const char *title, unsigned flags);
