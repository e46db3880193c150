// The controls: bindings, how far each action is pushed, their file and their names.
#include "common/common.h"
#include "common/controls.h"
#include "formats/data_files.h"
#include "platform/sys.h"
#include "platform/sys_files.h"
#include "platform/sys_pad.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

ControlBindings controls = defaultControls();
const char *const controlsPath = "base/controls.inf";

namespace {

// A stick resting off centre, or a trigger not quite let go, must not steer or drive.
constexpr float kStickDeadZone = 0.2f;
constexpr float kTriggerDeadZone = 0.1f;

Binding key(unsigned vk) { return {BIND_KEY, int(vk)}; }
Binding button(int b) { return {BIND_PAD_BUTTON, b}; }
Binding plus(int axis) { return {BIND_PAD_PLUS, axis}; }
Binding minus(int axis) { return {BIND_PAD_MINUS, axis}; }

bool heldBack[PAD_BUTTON_COUNT];

bool isTrigger(int axis) { return axis == PAD_LEFT_TRIGGER || axis == PAD_RIGHT_TRIGGER; }

// Travel past the dead zone, spread over 0..1 so that a full push is exactly a held key.
float travel(float v, float deadZone)
{
    if (v >= 1)
        return 1;
    return v > deadZone ? (v - deadZone) / (1 - deadZone) : 0;
}

float bindingAmount(const Binding &b)
{
    switch (b.kind) {
    case BIND_KEY: return keyDown[b.code & 0xFF] ? 1.0f : 0.0f;
    case BIND_PAD_BUTTON: return !heldBack[b.code] && Sys_PadButton(b.code) ? 1.0f : 0.0f;
    case BIND_PAD_PLUS:
    case BIND_PAD_MINUS: {
        float v = Sys_PadAxis(b.code);
        return travel(b.kind == BIND_PAD_PLUS ? v : -v, isTrigger(b.code) ? kTriggerDeadZone : kStickDeadZone);
    }
    default: return 0;
    }
}

const char *const padButtonNames[PAD_BUTTON_COUNT] = {
    "A", "B", "X", "Y", "Back", "Guide", "Start", "Left stick", "Right stick", "LB", "RB",
    "D-pad up", "D-pad down", "D-pad left", "D-pad right",
};

// A stick's two directions; a trigger is only ever pulled.
const struct {
    const char *minus, *plus;
} padAxisNames[PAD_AXIS_COUNT] = {
    {"Left stick left", "Left stick right"}, {"Left stick up", "Left stick down"},
    {"Right stick left", "Right stick right"}, {"Right stick up", "Right stick down"},
    {nullptr, "LT"}, {nullptr, "RT"},
};

const struct {
    unsigned vk;
    const char *name;
} keyNames[] = {
    {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_SPACE, "Space"},
    {VK_ESCAPE, "Escape"}, {VK_RETURN, "Enter"}, {VK_TAB, "Tab"}, {VK_SHIFT, "Shift"}, {VK_CONTROL, "Ctrl"},
    {VK_MENU, "Alt"}, {VK_BACK, "Backspace"}, {VK_PAUSE, "Pause"}, {VK_PRIOR, "Page up"},
    {VK_NEXT, "Page down"}, {VK_END, "End"}, {VK_HOME, "Home"}, {VK_INSERT, "Insert"}, {VK_DELETE, "Delete"},
};

// Letters, digits and F1..F12 are named by what is printed on them.
const char *keyName(unsigned vk)
{
    static char generated[256][4];
    char *out = generated[vk & 0xFF];
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        std::snprintf(out, 4, "%c", char(vk));
    else if (vk >= VK_F1 && vk < VK_F1 + 12)
        std::snprintf(out, 4, "F%u", vk - VK_F1 + 1);
    else
        for (const auto &k : keyNames)
            if (k.vk == vk)
                return k.name;
    return out[0] ? out : nullptr;
}

// Upper case without blanks, '-' or '_', for comparing names however they are written.
std::string folded(const std::string &name)
{
    std::string out;
    for (char c : name)
        if (c != ' ' && c != '-' && c != '_')
            out += char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

ControlBindings defaultControls()
{
    ControlBindings c;
    const Binding defaults[ACTION_COUNT][kBindingSlots] = {
        {key(VK_LEFT), minus(PAD_LEFT_X), button(PAD_DPAD_LEFT)},
        {key(VK_RIGHT), plus(PAD_LEFT_X), button(PAD_DPAD_RIGHT)},
        {key(VK_UP), plus(PAD_RIGHT_TRIGGER), {}},
        {key(VK_DOWN), plus(PAD_LEFT_TRIGGER), {}},
        {key(VK_SPACE), button(PAD_A), {}},
        {key('C'), button(PAD_Y), {}},
        {key(VK_ESCAPE), button(PAD_START), {}},
        {key('F'), button(PAD_BACK), {}},
    };
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int s = 0; s < kBindingSlots; s++)
            c.slot[a][s] = defaults[a][s];
    return c;
}

void readControls()
{
    ControlBindings read;
    if (readControlsFile(controlsPath, &read)) {
        controls = read;
        return;
    }
    controls = defaultControls();
    // No file is a first start; one the game cannot use is said, as the other data files are.
    if (Sys_FileExists(controlsPath))
        Sys_ReportUnusable(controlsPath);
}

bool writeControls()
{
    unsigned char bytes[kControlsFileSize];
    encodeControls(controls, bytes);
    return saveDataFile(controlsPath, bytes, sizeof bytes);
}

float actionAmount(int action)
{
    if (action < 0 || action >= ACTION_COUNT)
        return 0;
    float amount = 0;
    for (const Binding &b : controls.slot[action])
        amount = std::max(amount, bindingAmount(b));
    return amount;
}

bool actionHeld(int action) { return actionAmount(action) > 0; }

void holdBackPadButton(int button)
{
    if (button >= 0 && button < PAD_BUTTON_COUNT)
        heldBack[button] = true;
}

void padButtonReleased(int button)
{
    if (button >= 0 && button < PAD_BUTTON_COUNT)
        heldBack[button] = false;
}

void bindControl(int action, Binding input)
{
    int slot = input.kind == BIND_KEY ? kKeySlot : 1;
    if (action < 0 || action >= ACTION_COUNT || input.kind == BIND_NONE || !validBinding(input, slot))
        return;
    Binding old = controls.slot[action][slot];
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int s = 0; s < kBindingSlots; s++)
            if (a != action && controls.slot[a][s] == input)
                controls.slot[a][s] = validBinding(old, s) ? old : Binding{};
    controls.slot[action][slot] = input;
    if (slot != kKeySlot)
        controls.slot[action][2] = Binding{};
}

const char *padButtonName(int button)
{
    return button >= 0 && button < PAD_BUTTON_COUNT ? padButtonNames[button] : nullptr;
}

std::string bindingName(const Binding &b)
{
    const char *name = nullptr;
    switch (b.kind) {
    case BIND_KEY: name = keyName(unsigned(b.code)); break;
    case BIND_PAD_BUTTON: name = padButtonName(b.code); break;
    case BIND_PAD_PLUS:
    case BIND_PAD_MINUS:
        if (b.code >= 0 && b.code < PAD_AXIS_COUNT)
            name = b.kind == BIND_PAD_PLUS ? padAxisNames[b.code].plus : padAxisNames[b.code].minus;
        break;
    default: break;
    }
    return name ? name : "-";
}

unsigned keyFromName(const std::string &name)
{
    std::string want = folded(name);
    for (unsigned vk = 1; vk < 256; vk++)
        if (const char *n = keyName(vk); n && folded(n) == want)
            return vk;
    return 0;
}

int padButtonFromName(const std::string &name)
{
    std::string want = folded(name);
    for (int b = 0; b < PAD_BUTTON_COUNT; b++)
        if (folded(padButtonNames[b]) == want)
            return b;
    return -1;
}

void traceControlFields(TraceLine &line)
{
    static bool padSeen;
    padSeen = padSeen || Sys_PadConnected();
    if (!padSeen)
        return;
    line.field("padConnected", Sys_PadConnected());
    line.field("padRumble", double(Sys_PadLastRumble()));
}
