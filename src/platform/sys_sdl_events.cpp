// SDL events become the window messages the game's window procedure understands.
#include "platform/sys.h"
#include "platform/sys_local.h"

#include <SDL2/SDL.h>

// Virtual-key code of an SDL key, 0 for keys the game has no use for.
static unsigned virtualKey(SDL_Keycode k)
{
    if (k >= SDLK_a && k <= SDLK_z)
        return 'A' + unsigned(k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9)
        return '0' + unsigned(k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return VK_F1 + unsigned(k - SDLK_F1);
    static const struct {
        SDL_Keycode sdl;
        unsigned vk;
    } table[] = {
        {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB}, {SDLK_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, VK_RETURN}, {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT},
        {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},
        {SDLK_RALT, VK_MENU}, {SDLK_PAUSE, VK_PAUSE}, {SDLK_ESCAPE, VK_ESCAPE},
        {SDLK_SPACE, VK_SPACE}, {SDLK_PAGEUP, VK_PRIOR}, {SDLK_PAGEDOWN, VK_NEXT},
        {SDLK_END, VK_END}, {SDLK_HOME, VK_HOME}, {SDLK_LEFT, VK_LEFT}, {SDLK_UP, VK_UP},
        {SDLK_RIGHT, VK_RIGHT}, {SDLK_DOWN, VK_DOWN}, {SDLK_INSERT, VK_INSERT},
        {SDLK_DELETE, VK_DELETE},
    };
    for (const auto &e : table)
        if (e.sdl == k)
            return e.vk;
    return 0;
}

static void windowEvent(const SDL_WindowEvent &w)
{
    switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED:
        Sys_PostMessage(WM_ACTIVATE, WA_ACTIVE, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Sys_PostMessage(WM_ACTIVATE, WA_INACTIVE, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        Sys_PostMessage(WM_ACTIVATE, uintptr_t(Sys_MakeLParam(WA_INACTIVE, 1)), 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        Sys_PostMessage(WM_SIZE, 0, Sys_MakeLParam(unsigned(w.data1), unsigned(w.data2)));
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Sys_PostMessage(WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

void Sys_PumpEvents()
{
    // Pads speak through the same events, with or without a window.
    if (!SDL_WasInit(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER))
        return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            Sys_PostMessage(WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            windowEvent(e.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (unsigned vk = virtualKey(e.key.keysym.sym))
                Sys_PostMessage(e.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, vk, 0);
            break;
        case SDL_MOUSEMOTION:
            if (!sys.scriptedCursor)
                Sys_PostMessage(WM_MOUSEMOVE, 0, Sys_MakeLParam(unsigned(e.motion.x), unsigned(e.motion.y)));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            intptr_t at = Sys_MakeLParam(unsigned(e.button.x), unsigned(e.button.y));
            if (e.button.button == SDL_BUTTON_LEFT)
                Sys_PostMessage(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, at);
            else if (e.button.button == SDL_BUTTON_RIGHT)
                Sys_PostMessage(down ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, at);
            break;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            Sys_PadEvent(e);
            break;
        default:
            break;
        }
    }
}

int Sys_ShowNativeBox(const char *text, const char *title, unsigned flags)
{
    Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
    unsigned icon = flags & 0xF0;
    if (icon == MB_ICONSTOP)
        kind = SDL_MESSAGEBOX_ERROR;
    else if (icon == MB_ICONEXCLAMATION)
        kind = SDL_MESSAGEBOX_WARNING;
    bool yesNo = (flags & 0xF) == MB_YESNO;
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
    const SDL_MessageBoxButtonData yn[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"}};
    SDL_MessageBoxData data = {};
    data.flags = kind;
    data.title = title;
    data.message = text;
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yn : ok;
    int pressed = 0;
    // Without a display (or an X server that cannot show it) SDL says so and the caller decides.
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0)
        return 0;
    return pressed;
}
