// The game's only door to the operating system: window and GL context, display modes, window
// messages, cursor, clocks, message boxes and the desktop browser. Everything here keeps the
// shapes the game was designed around (window messages with wParam/lParam, virtual-key codes,
// a performance counter), so the rest of the code reads the same on any system.
// The real layer is sys_sdl*.cpp (SDL2); null/sys_null.cpp stands in where there is no display.
#pragma once
#include <cstdint>

// ---- window messages (Windows numbering, so traces and scripts read naturally) ----
enum : unsigned {
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSCOMMAND = 0x0112,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
};
enum : unsigned { WA_INACTIVE = 0, WA_ACTIVE = 1 };
enum : unsigned { SC_SCREENSAVE = 0xF140, SC_MONITORPOWER = 0xF170 };

// Virtual-key codes the game reads.
enum : unsigned {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70,
};

struct SysMsg {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
};

inline intptr_t Sys_MakeLParam(unsigned lo, unsigned hi) { return intptr_t((hi & 0xFFFF) << 16 | (lo & 0xFFFF)); }
inline unsigned Sys_LoWord(uintptr_t v) { return unsigned(v & 0xFFFF); }
inline unsigned Sys_HiWord(uintptr_t v) { return unsigned((v >> 16) & 0xFFFF); }

// Takes one pending message (removing it). Returns false when none is waiting.
bool Sys_PeekMessage(SysMsg *msg);
// Queues a message behind those already waiting (scripted input uses the same queue).
void Sys_PostMessage(unsigned message, uintptr_t wParam, intptr_t lParam);
void Sys_PostQuitMessage(int code);
// What a window procedure returns for messages it leaves to the system.
intptr_t Sys_DefWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam);

// ---- window and GL context, one step per call so each failure keeps its own message ----
struct SysPixelFormat {
    int colorBits;
    int depthBits;
    int stencilBits;
    bool doubleBuffer;
};
bool Sys_RegisterClass(const char *className);
bool Sys_UnregisterClass(const char *className);
bool Sys_CreateWindow(const char *title, int width, int height, bool fullscreen);
bool Sys_DestroyWindow();
bool Sys_GetDC();
bool Sys_ReleaseDC();
// The pixel format must be known before the window exists under X11; Sys_CreateWindow uses the
// last one chosen, and these two report whether the window's visual honours it.
int Sys_ChoosePixelFormat(const SysPixelFormat &pfd);
bool Sys_SetPixelFormat(int format);
bool Sys_CreateContext();
bool Sys_MakeCurrent(bool current);
bool Sys_DeleteContext();
void Sys_ShowWindow();
void Sys_SwapBuffers();
void Sys_SetWindowPos(int x, int y, int width, int height);
// Client size of the window in pixels.
void Sys_GetWindowSize(int *width, int *height);
void *Sys_GL_GetProcAddress(const char *name);
// Sets the swap interval; false when the driver has no way to change it.
bool Sys_GL_SwapInterval(int interval);

// ---- display modes ----
bool Sys_EnumDisplayModes(int index, int *width, int *height, int *bits);
// Switches to a full-screen mode; false when the display refuses that mode.
bool Sys_ChangeDisplayMode(int width, int height, int bits);
void Sys_RestoreDisplayMode();

// ---- cursor ----
void Sys_GetCursorPos(int *x, int *y);  // pixels from the top left of the window's client area
void Sys_SetCursorPos(int x, int y);    // scripted input moves the cursor here
void Sys_ShowCursor(bool show);

// ---- clocks ----
bool Sys_QueryPerformanceFrequency(int64_t *frequency);
bool Sys_QueryPerformanceCounter(int64_t *count);
uint32_t Sys_Milliseconds();
// With a fixed frame length every clock stands still within a frame and moves by exactly
// that much in Sys_AdvanceFrameClock, so runs are repeatable. The length may change between
// frames; the clock keeps its reading.
void Sys_SetFixedFrameMs(double ms);
void Sys_AdvanceFrameClock();
double Sys_ClockMs(); // milliseconds since start, as every clock above sees it
// Milliseconds since start on the real clock even under a fixed frame length: for measuring the
// game's own work, never for moving the game.
double Sys_WallClockMs();
// Milliseconds of processor time the calling thread has used: what the game's own thread spends,
// apart from the renderer's threads.
double Sys_ThreadCpuMs();

// ---- message boxes ----
enum : unsigned {
    MB_OK = 0x0, MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDYES = 6, IDNO = 7 };
// Shows a modal box. With an automatic answer set, or when no display can show one, the
// title and text go to standard error and the automatic answer is returned (OK counts as yes).
int Sys_MessageBox(const char *text, const char *title, unsigned flags);
void Sys_SetAutoAnswer(int answer); // IDYES or IDNO; 0 shows real boxes
struct SysBoxRecord {
    char title[64];
    char text[256];
    unsigned flags;
};
// The boxes shown so far (the last 16), for tests and for the trace.
int Sys_BoxCount();
const SysBoxRecord &Sys_Box(int index);

// What the system said about the last call of this layer that failed ("" when it said nothing),
// for the line on standard error that names a failure.
const char *Sys_LastError();

// ---- running without a window ----
// The same game with no window, no GL context and nothing drawn (whole races for tests,
// benchmarks and statistics). Chosen once at start: no window opens, no message box or browser
// appears, and the game is told so that it draws nothing.
void Sys_SetHeadless(bool headless);
bool Sys_Headless();

// ---- desktop ----
// Opens an address in the desktop browser without waiting; a missing browser is ignored.
void Sys_OpenURL(const char *address);

// ---- failure injection for tests: the named step fails once, as the system would ----
enum SysStep {
    SYS_STEP_REGISTER_CLASS, SYS_STEP_DISPLAY_MODE, SYS_STEP_CREATE_WINDOW, SYS_STEP_GET_DC,
    SYS_STEP_CHOOSE_PIXEL_FORMAT, SYS_STEP_SET_PIXEL_FORMAT, SYS_STEP_CREATE_CONTEXT,
    SYS_STEP_MAKE_CURRENT, SYS_STEP_RELEASE_CONTEXT, SYS_STEP_DELETE_CONTEXT, SYS_STEP_RELEASE_DC,
    SYS_STEP_DESTROY_WINDOW, SYS_STEP_UNREGISTER_CLASS, SYS_STEP_COUNT
};
void Sys_FailStep(SysStep step, bool fail);
