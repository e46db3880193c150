// The player's controls: which key and which pad inputs work each action of a race, how far an
// action is pushed this moment, and the file that keeps the player's own choice. The race, the
// toggles of the main loop and the Controls screen all read the actions through here.
#pragma once
#include "formats/controls_file.h"

#include <string>

struct TraceLine;

extern ControlBindings controls;
extern const char *const controlsPath; // beside the settings
// Arrows steer and drive, Space nitro, C camera, Escape pause, F frame rate; on a pad the left
// stick or the d-pad steers, the right trigger drives, the left one brakes and reverses, A is
// nitro, Y camera, Start pause and Back the frame rate.
ControlBindings defaultControls();
// At start: the file, or the defaults when it is missing or damaged.
void readControls();
// Atomically, after every change the player makes.
bool writeControls();

// How far an action is pushed, 0..1: exactly 1 for a bound key or button held or a stick or
// trigger at full travel; between, a stick's or trigger's travel past its dead zone.
float actionAmount(int action);
bool actionHeld(int action);

// A pad button that worked the menus does nothing in the race until it is let go: A pressed on
// "Continue" must not fire the nitro as the race resumes. The keys keep their old ways.
void holdBackPadButton(int button);
void padButtonReleased(int button);

// Binds a key (to the key slot) or a pad input (to the first pad slot, the second emptied) to an
// action. An action that had the input takes over this action's old one, so one input never
// works two actions and no action loses its only key unnoticed.
void bindControl(int action, Binding input);

// Names as the Controls screen shows them ("Left", "Space", "F1", "A", "D-pad left",
// "Left stick left", "RT"); "-" for an empty slot or an input without a name.
std::string bindingName(const Binding &b);
const char *padButtonName(int button);
// The key for a name shown by bindingName ("space", "F5", "a" alike); 0 when none.
unsigned keyFromName(const std::string &name);
// The pad button for a name as padButtonName gives it, case, blanks, '-' and '_' aside
// ("dpad_left" is "D-pad left"); -1 when none.
int padButtonFromName(const std::string &name);

// The pad's fields of the trace, once a pad has been seen in the run (a run without one keeps
// its trace as it was).
void traceControlFields(TraceLine &line);
