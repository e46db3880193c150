// Opening and closing the game window with its GL context. Each step that can fail reports its
// own message and unwinds what was opened so far.
#include "shell/shell.h"
#include "common/common.h"
#include "platform/sys_files.h"
#include "frontend/frontend.h"
#include "render/render.h"

bool instanceHandle, windowHandle, deviceContext, renderContext;
SysPixelFormat pixelFormatDescriptor;
bool fullscreen = true;

static bool pixelFormatFilled;

// The box tells the player; standard error gets the system's own reason as well. (Graphics
// failures have already named what the driver or the data lacks.)
static void reportStep(const char *text)
{
    const char *reason = Sys_LastError();
    Sys_Report("%s%s%s", text, reason && *reason ? " " : "", reason ? reason : "");
}

static bool fail(const char *text, bool systemStep = true)
{
    if (systemStep)
        reportStep(text);
    closeGameWindow();
    Sys_MessageBox(text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool openGameWindow(const char *title, int width, int height, int bits, bool fullscreenFlag)
{
    fullscreen = fullscreenFlag;
    instanceHandle = true;

    if (!Sys_RegisterClass("OpenGL")) {
        const char *text = "Failed To Register The Window Class.";
        reportStep(text);
        Sys_MessageBox(text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    if (fullscreen && !Sys_ChangeDisplayMode(width, height, bits)) {
        if (Sys_MessageBox("The Requested Display Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                           "Display", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
            fullscreen = false;
        } else {
            Sys_Report("the display has no %dx%d mode at %d bits and a window was declined", width, height, bits);
            Sys_MessageBox("Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
            return false;
        }
    }

    if (fullscreen)
        Sys_ShowCursor(false);

    // The pixel format is filled on the first call only and, under X11, has to be chosen before
    // the window exists: the window's visual is fixed at creation.
    if (!pixelFormatFilled) {
        pixelFormatDescriptor = {bits, depthBits, 1, true};
        pixelFormatFilled = true;
    }
    int format = Sys_ChoosePixelFormat(pixelFormatDescriptor);

    if (!Sys_CreateWindow(title, width, height, fullscreen))
        return fail("Window Creation Error.");
    windowHandle = true;

    if (!Sys_GetDC())
        return fail("Can't Create A GL Device Context.");
    deviceContext = true;
    if (format == 0)
        return fail("Can't Find A Suitable PixelFormat.");
    if (!Sys_SetPixelFormat(format))
        return fail("Can't Set The PixelFormat.");
    if (!Sys_CreateContext())
        return fail("Can't Create A GL Rendering Context.");
    renderContext = true;
    if (!Sys_MakeCurrent(true))
        return fail("Can't Activate The GL Rendering Context.");

    Sys_ShowWindow();
    fitSceneToWindow(width, height);
    // The clocks and the random generator start with the graphics, as the first frame nears.
    seedRandomGenerator();
    timerInit();
    if (!initGraphics())
        return fail("Initialization Failed.", false);
    return true;
}

static void shutdownBox(const char *text)
{
    Sys_MessageBox(text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

void closeGameWindow()
{
    if (fullscreen) {
        Sys_RestoreDisplayMode();
        Sys_ShowCursor(true);
    }
    if (renderContext) {
        if (!Sys_MakeCurrent(false))
            shutdownBox("Release Of DC And RC Failed.");
        if (!Sys_DeleteContext())
            shutdownBox("Release Rendering Context Failed.");
        renderContext = false;
    }
    // A handle is dropped once released, so closing twice never releases anything twice.
    if (deviceContext) {
        if (!Sys_ReleaseDC())
            shutdownBox("Release Device Context Failed.");
        deviceContext = false;
    }
    if (windowHandle) {
        if (!Sys_DestroyWindow())
            shutdownBox("Could Not Release hWnd.");
        windowHandle = false;
    }
    if (instanceHandle) {
        if (!Sys_UnregisterClass("OpenGL"))
            shutdownBox("Could Not Unregister Class.");
        instanceHandle = false;
    }
}
