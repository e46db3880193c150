// Stand-in platform layer for machines without a display: no window can open, every query gets
// a harmless answer, and message boxes fall back to standard error.
#include "platform/sys.h"
#include "platform/sys_local.h"
#include "platform/sys_pad.h"

SysState sys;

bool Sys_ShouldFail(SysStep step)
{
    bool f = sys.failStep[step];
    sys.failStep[step] = false;
    return f;
}
void Sys_FailStep(SysStep step, bool fail) { sys.failStep[step] = fail; }
void Sys_PumpEvents() {}
int Sys_ShowNativeBox(const char *, const char *, unsigned) { return 0; }

bool Sys_RegisterClass(const char *) { return !Sys_ShouldFail(SYS_STEP_REGISTER_CLASS); }
bool Sys_UnregisterClass(const char *) { return !Sys_ShouldFail(SYS_STEP_UNREGISTER_CLASS); }
bool Sys_CreateWindow(const char *, int, int, bool) { return false; }
bool Sys_DestroyWindow() { return !Sys_ShouldFail(SYS_STEP_DESTROY_WINDOW); }
bool Sys_GetDC() { return false; }
bool Sys_ReleaseDC() { return !Sys_ShouldFail(SYS_STEP_RELEASE_DC); }
int Sys_ChoosePixelFormat(const SysPixelFormat &) { return 0; }
bool Sys_SetPixelFormat(int) { return false; }
bool Sys_CreateContext() { return false; }
bool Sys_MakeCurrent(bool current) { return !current; }
bool Sys_DeleteContext() { return true; }
void Sys_ShowWindow() {}
void Sys_SwapBuffers() {}
void Sys_SetWindowPos(int, int, int, int) {}
void Sys_GetWindowSize(int *w, int *h) { *w = *h = 0; }
void *Sys_GL_GetProcAddress(const char *) { return nullptr; }
bool Sys_GL_SwapInterval(int) { return false; }
bool Sys_EnumDisplayModes(int, int *, int *, int *) { return false; }
bool Sys_ChangeDisplayMode(int, int, int) { return false; }
void Sys_RestoreDisplayMode() {}
void Sys_GetCursorPos(int *x, int *y) { *x = sys.cursorX; *y = sys.cursorY; }
void Sys_SetCursorPos(int x, int y) { sys.scriptedCursor = true; sys.cursorX = x; sys.cursorY = y; }
void Sys_ShowCursor(bool) {}
void Sys_OpenURL(const char *) {}
const char *Sys_LastError() { return ""; }

// No pads without a system to find them on.
bool Sys_OpenPads() { return false; }
void Sys_ClosePads() {}
bool Sys_PadConnected() { return false; }
bool Sys_PadButton(int) { return false; }
float Sys_PadAxis(int) { return 0; }
bool Sys_PadRumble(float, int) { return false; }
float Sys_PadLastRumble() { return 0; }
int Sys_AttachVirtualPad() { return -1; }
bool Sys_DetachVirtualPad(int) { return false; }
void Sys_SetVirtualPadButton(int, int, bool) {}
void Sys_SetVirtualPadAxis(int, int, float) {}
