// Gamepads through SDL's game controller support: which pad plays, its state, its presses as
// messages, rumble, and virtual pads.
#include "platform/sys.h"
#include "platform/sys_local.h"
#include "platform/sys_pad.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>

// The game's numbering is SDL's, so a button or axis passes through unchanged.
static_assert(int(PAD_A) == SDL_CONTROLLER_BUTTON_A && int(PAD_START) == SDL_CONTROLLER_BUTTON_START &&
              int(PAD_DPAD_RIGHT) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
              int(PAD_BUTTON_COUNT) == SDL_CONTROLLER_BUTTON_MISC1);
static_assert(int(PAD_LEFT_X) == SDL_CONTROLLER_AXIS_LEFTX && int(PAD_LEFT_TRIGGER) == SDL_CONTROLLER_AXIS_TRIGGERLEFT &&
              int(PAD_AXIS_COUNT) == SDL_CONTROLLER_AXIS_MAX);

namespace {

bool padsUp;
SDL_GameController *playing;
SDL_JoystickID playingId = -1;
float lastRumble;

const int MAX_VIRTUAL_PADS = 16;
struct VirtualPad {
    SDL_Joystick *joystick; // held open so its values can be set; null once unplugged
    SDL_JoystickID id;
} virtualPads[MAX_VIRTUAL_PADS];
int virtualPadCount;

// The first pad still plugged in plays, unless one already does.
void choosePad()
{
    if (playing)
        return;
    for (int i = 0; i < SDL_NumJoysticks(); i++) {
        if (!SDL_IsGameController(i))
            continue;
        if (SDL_GameController *pad = SDL_GameControllerOpen(i)) {
            playing = pad;
            playingId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            return;
        }
    }
}

void letPadGo()
{
    if (playing)
        SDL_GameControllerClose(playing);
    playing = nullptr;
    playingId = -1;
}

bool isTrigger(int axis) { return axis == PAD_LEFT_TRIGGER || axis == PAD_RIGHT_TRIGGER; }

int deviceIndexOf(SDL_JoystickID id)
{
    for (int i = 0; i < SDL_NumJoysticks(); i++)
        if (SDL_JoystickGetDeviceInstanceID(i) == id)
            return i;
    return -1;
}

// Motors of a virtual pad: they take every request; what the game asked is kept on its side.
int acceptRumble(void *, Uint16, Uint16) { return 0; }

VirtualPad *virtualPad(int pad)
{
    return pad >= 0 && pad < virtualPadCount && virtualPads[pad].joystick ? &virtualPads[pad] : nullptr;
}

} // namespace

bool Sys_OpenPads()
{
    if (padsUp)
        return true;
    // The game stops drawing while it is in the background, so a pad read there does no harm;
    // without this the pads would say nothing while no window has the focus (runs without one).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return false;
    padsUp = true;
    choosePad();
    return true;
}

void Sys_ClosePads()
{
    if (!padsUp)
        return;
    letPadGo();
    for (int i = 0; i < virtualPadCount; i++)
        Sys_DetachVirtualPad(i);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    padsUp = false;
}

void Sys_PadEvent(const SDL_Event &e)
{
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        choosePad();
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (e.cdevice.which == playingId) {
            letPadGo();
            choosePad();
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (e.cbutton.which == playingId && e.cbutton.button < PAD_BUTTON_COUNT)
            Sys_PostMessage(e.type == SDL_CONTROLLERBUTTONDOWN ? WM_PADBUTTONDOWN : WM_PADBUTTONUP, e.cbutton.button, 0);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (e.caxis.which == playingId && e.caxis.axis < PAD_AXIS_COUNT)
            Sys_PostMessage(WM_PADAXIS, e.caxis.axis, intptr_t(e.caxis.value));
        break;
    default:
        break;
    }
}

bool Sys_PadConnected() { return playing != nullptr; }

bool Sys_PadButton(int button)
{
    if (!playing || button < 0 || button >= PAD_BUTTON_COUNT)
        return false;
    return SDL_GameControllerGetButton(playing, SDL_GameControllerButton(button)) != 0;
}

float Sys_PadAxis(int axis)
{
    if (!playing || axis < 0 || axis >= PAD_AXIS_COUNT)
        return 0;
    // -32768 would reach a hair past full; both ends read exactly 1.
    float v = float(SDL_GameControllerGetAxis(playing, SDL_GameControllerAxis(axis))) / 32767.0f;
    return std::clamp(v, isTrigger(axis) ? 0.0f : -1.0f, 1.0f);
}

bool Sys_PadRumble(float strength, int ms)
{
    if (!playing)
        return false;
    float s = std::clamp(strength, 0.0f, 1.0f);
    // The heavy motor carries the blow, the light one a shorter buzz on top.
    Uint16 low = Uint16(std::lround(s * 65535.0f));
    Uint16 high = Uint16(std::lround(s * 0.5f * 65535.0f));
    if (SDL_GameControllerRumble(playing, low, high, Uint32(std::max(ms, 0))) != 0)
        return false;
    lastRumble = s;
    return true;
}

float Sys_PadLastRumble() { return lastRumble; }

int Sys_AttachVirtualPad()
{
    if (!Sys_OpenPads() || virtualPadCount == MAX_VIRTUAL_PADS)
        return -1;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = PAD_AXIS_COUNT;
    desc.nbuttons = PAD_BUTTON_COUNT;
    desc.name = "Virtual pad";
    desc.Rumble = acceptRumble;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0)
        return -1;
    SDL_Joystick *joystick = SDL_JoystickOpen(index);
    if (!joystick) {
        SDL_JoystickDetachVirtual(index);
        return -1;
    }
    int pad = virtualPadCount++;
    virtualPads[pad] = {joystick, SDL_JoystickInstanceID(joystick)};
    // A trigger's raw axis spans the whole range: at rest it sits at the bottom, not the middle.
    for (int axis : {PAD_LEFT_TRIGGER, PAD_RIGHT_TRIGGER})
        Sys_SetVirtualPadAxis(pad, axis, 0);
    return pad;
}

bool Sys_DetachVirtualPad(int pad)
{
    VirtualPad *v = virtualPad(pad);
    if (!v)
        return false;
    int index = deviceIndexOf(v->id);
    SDL_JoystickClose(v->joystick);
    v->joystick = nullptr;
    return index >= 0 && SDL_JoystickDetachVirtual(index) == 0;
}

void Sys_SetVirtualPadButton(int pad, int button, bool down)
{
    if (VirtualPad *v = virtualPad(pad))
        SDL_JoystickSetVirtualButton(v->joystick, button, down ? 1 : 0);
}

void Sys_SetVirtualPadAxis(int pad, int axis, float value)
{
    VirtualPad *v = virtualPad(pad);
    if (!v || axis < 0 || axis >= PAD_AXIS_COUNT)
        return;
    float raw = isTrigger(axis) ? std::clamp(value, 0.0f, 1.0f) * 65535.0f - 32768.0f
                                : std::clamp(value, -1.0f, 1.0f) * 32767.0f;
    SDL_JoystickSetVirtualAxis(v->joystick, axis, Sint16(std::clamp(std::lround(raw), -32768L, 32767L)));
}
