// The window procedure: keyboard state, focus, size changes, closing, and the menu mouse.
#include "audio/audio.h"
#include "common/common.h"
#include "frontend/frontend.h"
#include "shell/shell.h"

bool windowActive = true;

static void becomeActive()
{
    windowActive = true;
    if (musicOn && !loadingPhase) {
        if (gameState == 0) {
            raceMusic.play();
        } else {
            menuMusicPending = true;
            menuMusic.play();
        }
        musicFade = -1.5f;
    }
    // A windowed game keeps the desktop's mode; only a full-screen window switches it back.
    if (fullscreen)
        Sys_ChangeDisplayMode(screenWidth, screenHeight, colorBits);
    Sys_SetWindowPos(0, 0, screenWidth, screenHeight);
}

static void becomeInactive()
{
    windowActive = false;
    if (musicOn) {
        if (gameState == 0) {
            raceMusic.setGain(0);
            raceMusic.rewind();
        } else {
            menuMusicPending = true;
            menuMusic.setGain(0);
            menuMusic.rewind();
        }
        musicFade = -1.5f;
    }
    Sys_RestoreDisplayMode();
}

static intptr_t defaultPath(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (gameState != 0)
        menuHover();
    return Sys_DefWindowProc(message, wParam, lParam);
}

intptr_t gameWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (Sys_LoWord(wParam) != WA_INACTIVE && Sys_HiWord(wParam) == 0)
            becomeActive();
        else
            becomeInactive();
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        return defaultPath(message, wParam, lParam);
    case WM_CLOSE:
        Sys_PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        keyDown[wParam & 0xFF] = true;
        if (gameState != 0)
            menuKey(unsigned(wParam & 0xFF));
        return 0;
    case WM_KEYUP:
        keyDown[wParam & 0xFF] = false;
        return 0;
    case WM_SIZE:
        fitSceneToWindow(int(Sys_LoWord(uintptr_t(lParam))), int(Sys_HiWord(uintptr_t(lParam))));
        return 0;
    case WM_LBUTTONDOWN:
        if (gameState != 0 && menuClick())
            return defaultPath(message, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 0;
    default:
        return defaultPath(message, wParam, lParam);
    }
}
