// SDL2 implementation of the platform layer: window, GL context, display modes and messages.
#include "platform/sys.h"
#include "platform/sys_local.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>

SysState sys;

static SDL_Window *window;
static SDL_GLContext glContext;
static bool videoUp;
static SysPixelFormat pendingFormat = {32, 24, 1, true};
static bool formatChosen;
static SDL_DisplayMode pendingMode;
static bool pendingFullscreen;

bool Sys_ShouldFail(SysStep step)
{
    if (!sys.failStep[step])
        return false;
    sys.failStep[step] = false;
    return true;
}

void Sys_FailStep(SysStep step, bool fail)
{
    sys.failStep[step] = fail;
}

// The window class has no SDL counterpart; registering it is bringing up the video system.
bool Sys_RegisterClass(const char *className)
{
    if (Sys_ShouldFail(SYS_STEP_REGISTER_CLASS) || sys.headless)
        return false;
    if (!videoUp) {
        // The game drives the screen saver itself: the window procedure refuses its requests.
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        videoUp = true;
    }
    return true;
}

bool Sys_UnregisterClass(const char *className)
{
    if (Sys_ShouldFail(SYS_STEP_UNREGISTER_CLASS))
        return false;
    if (videoUp && !window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoUp = false;
    }
    return true;
}

// Under X11 the visual (and so the pixel format) is fixed when the window is created, so the
// format chosen before Sys_CreateWindow is the one it gets.
int Sys_ChoosePixelFormat(const SysPixelFormat &pfd)
{
    if (Sys_ShouldFail(SYS_STEP_CHOOSE_PIXEL_FORMAT))
        return 0;
    pendingFormat = pfd;
    formatChosen = true;
    return 1;
}

bool Sys_SetPixelFormat(int format)
{
    if (Sys_ShouldFail(SYS_STEP_SET_PIXEL_FORMAT))
        return false;
    return format > 0 && window != nullptr;
}

static void applyGLAttributes(const SysPixelFormat &pfd)
{
    int channel = pfd.colorBits <= 16 ? 5 : 8;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, pfd.colorBits <= 16 ? 6 : 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, pfd.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, pfd.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, pfd.doubleBuffer ? 1 : 0);
    // The renderer is fixed-function GL 1.x with ARB programs: a compatibility context.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

bool Sys_CreateWindow(const char *title, int width, int height, bool fullscreen)
{
    if (Sys_ShouldFail(SYS_STEP_CREATE_WINDOW) || !videoUp)
        return false;
    applyGLAttributes(pendingFormat);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (fullscreen && pendingFullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window && pendingFormat.depthBits > 16) {
        // Some visuals lack a deep depth buffer; the game still runs with 16 bits.
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    }
    if (!window)
        return false;
    if (flags & SDL_WINDOW_FULLSCREEN)
        SDL_SetWindowDisplayMode(window, &pendingMode);
    sys.windowFullscreen = (flags & SDL_WINDOW_FULLSCREEN) != 0;
    sys.windowWidth = width;
    sys.windowHeight = height;
    return true;
}

bool Sys_DestroyWindow()
{
    if (Sys_ShouldFail(SYS_STEP_DESTROY_WINDOW))
        return false;
    if (window)
        SDL_DestroyWindow(window);
    window = nullptr;
    sys.windowFullscreen = false;
    return true;
}

// A device context is the window's drawable; SDL hands it out with the window itself.
bool Sys_GetDC()
{
    if (Sys_ShouldFail(SYS_STEP_GET_DC))
        return false;
    return window != nullptr;
}

bool Sys_ReleaseDC()
{
    return !Sys_ShouldFail(SYS_STEP_RELEASE_DC);
}

bool Sys_CreateContext()
{
    if (Sys_ShouldFail(SYS_STEP_CREATE_CONTEXT) || !window)
        return false;
    glContext = SDL_GL_CreateContext(window);
    return glContext != nullptr;
}

bool Sys_MakeCurrent(bool current)
{
    if (Sys_ShouldFail(current ? SYS_STEP_MAKE_CURRENT : SYS_STEP_RELEASE_CONTEXT))
        return false;
    if (!window)
        return !current;
    return SDL_GL_MakeCurrent(window, current ? glContext : nullptr) == 0;
}

bool Sys_DeleteContext()
{
    if (Sys_ShouldFail(SYS_STEP_DELETE_CONTEXT))
        return false;
    if (glContext)
        SDL_GL_DeleteContext(glContext);
    glContext = nullptr;
    return true;
}

void Sys_ShowWindow()
{
    if (!window)
        return;
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

void Sys_SwapBuffers()
{
    if (window && glContext)
        SDL_GL_SwapWindow(window);
}

void Sys_SetWindowPos(int x, int y, int width, int height)
{
    if (!window)
        return;
    SDL_SetWindowPosition(window, x, y);
    SDL_SetWindowSize(window, width, height);
}

void Sys_GetWindowSize(int *width, int *height)
{
    *width = *height = 0;
    if (window)
        SDL_GL_GetDrawableSize(window, width, height);
}

void *Sys_GL_GetProcAddress(const char *name)
{
    return SDL_GL_GetProcAddress(name);
}

bool Sys_GL_SwapInterval(int interval)
{
    return glContext && SDL_GL_SetSwapInterval(interval) == 0;
}

bool Sys_EnumDisplayModes(int index, int *width, int *height, int *bits)
{
    if (!videoUp || index < 0 || index >= SDL_GetNumDisplayModes(0))
        return false;
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, index, &mode) != 0)
        return false;
    *width = mode.w;
    *height = mode.h;
    *bits = int(SDL_BITSPERPIXEL(mode.format));
    return true;
}

// Only an exact width and height count: the game's virtual screen scales by the mode.
bool Sys_ChangeDisplayMode(int width, int height, int bits)
{
    if (Sys_ShouldFail(SYS_STEP_DISPLAY_MODE))
        return false;
    int w, h, b;
    bool found = false;
    for (int i = 0; Sys_EnumDisplayModes(i, &w, &h, &b); i++) {
        if (w == width && h == height) {
            SDL_GetDisplayMode(0, i, &pendingMode);
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    pendingFullscreen = true;
    if (window) {
        SDL_SetWindowDisplayMode(window, &pendingMode);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0)
            return false;
        sys.windowFullscreen = true;
    }
    return true;
}

void Sys_RestoreDisplayMode()
{
    pendingFullscreen = false;
    if (window && sys.windowFullscreen)
        SDL_SetWindowFullscreen(window, 0);
    sys.windowFullscreen = false;
}

void Sys_ShowCursor(bool show)
{
    if (videoUp)
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void Sys_GetCursorPos(int *x, int *y)
{
    if (sys.scriptedCursor || !videoUp) {
        *x = sys.cursorX;
        *y = sys.cursorY;
        return;
    }
    // Measured from the window's client area, so a window frame (or a window placed away from the
    // corner) does not shift the pointer against the drawn menu. Over the window the motion
    // events keep the position; SDL's global position is refreshed only now and then on X11.
    if (window && SDL_GetMouseFocus() == window) {
        SDL_GetMouseState(x, y);
        return;
    }
    SDL_GetGlobalMouseState(x, y);
    if (window) {
        int left, top;
        SDL_GetWindowPosition(window, &left, &top);
        *x -= left;
        *y -= top;
    }
}

void Sys_SetCursorPos(int x, int y)
{
    // Scripted input owns the cursor from its first move on, so runs do not depend on where the
    // real pointer of the machine happens to be.
    sys.scriptedCursor = true;
    sys.cursorX = x;
    sys.cursorY = y;
}

const char *Sys_LastError()
{
    return SDL_GetError();
}

void Sys_OpenURL(const char *address)
{
    if (address && *address && !sys.headless)
        SDL_OpenURL(address); // no browser: SDL reports it and we carry on
}
