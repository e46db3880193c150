// Gamepads: the first pad plugged in plays; pads come and go at any moment (before the game, in
// the menus, in the middle of a race) and an unplugged pad simply reads as nothing held. The
// pad's presses also arrive as window messages, in order with the keys, so the menus can be
// worked with it; the race polls its sticks and triggers once a frame.
// Virtual pads stand in for hardware: scripted input and tests plug them in and move them, and
// the game cannot tell them from real ones.
#pragma once
#include <cstdint>

// The buttons and axes of a pad laid out as the common twin-stick controller.
enum SysPadButton {
    PAD_A, PAD_B, PAD_X, PAD_Y, PAD_BACK, PAD_GUIDE, PAD_START, PAD_LEFT_STICK, PAD_RIGHT_STICK,
    PAD_LEFT_SHOULDER, PAD_RIGHT_SHOULDER, PAD_DPAD_UP, PAD_DPAD_DOWN, PAD_DPAD_LEFT, PAD_DPAD_RIGHT,
    PAD_BUTTON_COUNT
};
// Sticks read -1..1 (x to the right, y downwards); triggers 0..1.
enum SysPadAxis { PAD_LEFT_X, PAD_LEFT_Y, PAD_RIGHT_X, PAD_RIGHT_Y, PAD_LEFT_TRIGGER, PAD_RIGHT_TRIGGER, PAD_AXIS_COUNT };

// Messages of the playing pad, beside the window's own (in the range the system leaves to
// programs). wParam: the button or axis; for an axis lParam is the value x 32767, rounded.
enum : unsigned { WM_PADBUTTONDOWN = 0x8001, WM_PADBUTTONUP = 0x8002, WM_PADAXIS = 0x8003 };

// Brings up pad support once at start (pads already plugged in are found); false when the
// system has none, and then no pad is ever connected. Sys_ClosePads lets every pad go at exit.
bool Sys_OpenPads();
void Sys_ClosePads();

bool Sys_PadConnected();
bool Sys_PadButton(int button);  // false without a pad or for an unknown button
float Sys_PadAxis(int axis);     // 0 without a pad or for an unknown axis
// Shakes the playing pad at strength 0..1 for ms milliseconds. False when there is no pad or it
// has no motors. Sys_PadLastRumble is the strength of the last shake the pad took (0: none yet).
bool Sys_PadRumble(float strength, int ms);
float Sys_PadLastRumble();

// ---- virtual pads (scripted input and tests) ----
// Plugs in a virtual pad with rumble motors; returns its number (0 or more) or -1 when virtual
// pads cannot be made. Numbers are not reused within a run.
int Sys_AttachVirtualPad();
bool Sys_DetachVirtualPad(int pad);
void Sys_SetVirtualPadButton(int pad, int button, bool down);
void Sys_SetVirtualPadAxis(int pad, int axis, float value);
