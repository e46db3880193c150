// The Controls screen, reached from the options: the race's actions in the list, each with its
// key and pad inputs in a table beside it. Choosing an action waits for the next key or pad input
// and makes it the action's; "Defaults" brings back the game's own. Every change is saved at once.
#include "audio/audio.h"
#include "common/common.h"
#include "common/controls.h"
#include "frontend/frontend.h"
#include "frontend/frontend_local.h"
#include "render/font.h"

#include <cmath>
#include <string>

const char *const actionNames[ACTION_COUNT] = {
    "Steer left", "Steer right", "Throttle", "Brake", "Nitro", "Camera", "Pause", "Frame rate",
};

int bindingAction = -1;

namespace {

// The table beside the list: one row per action, its name, key and pad inputs.
constexpr int kNameX = 220, kKeyX = 345, kPadX = 455;
constexpr int kHeaderY = 510, kFirstRowY = 470, kRowStep = 38;

void bindAndSave(Binding input)
{
    bindControl(bindingAction, input);
    bindingAction = -1;
    writeControls();
    playMenuSample(SAMPLE_MENU1);
}

std::string padInputs(int action)
{
    std::string text;
    for (int s = kKeySlot + 1; s < kBindingSlots; s++) {
        if (controls.slot[action][s].kind == BIND_NONE)
            continue;
        text += (text.empty() ? "" : " / ") + bindingName(controls.slot[action][s]);
    }
    return text.empty() ? "-" : text;
}

OverlayQuad plainQuad(float x0, float y0, float x1, float y1, float r, float g, float b, float a)
{
    OverlayQuad q;
    q.x0 = x0;
    q.y0 = y0;
    q.x1 = x1;
    q.y1 = y1;
    q.color[0] = r;
    q.color[1] = g;
    q.color[2] = b;
    q.color[3] = a * screenAlpha;
    return q;
}

} // namespace

void activateControls(int item)
{
    if (item < ACTION_COUNT) {
        bindingAction = item;
    } else if (item == ACTION_COUNT) { // "Defaults"
        controls = defaultControls();
        writeControls();
    } else {
        gameState = STATE_OPTIONS;
    }
}

bool controlsTakeKey(unsigned vk, bool repeat)
{
    if (bindingAction < 0 || shownState != STATE_CONTROLS)
        return false;
    // The key that chose the action, still held and repeating, is not the answer.
    if (!repeat)
        bindAndSave({BIND_KEY, int(vk)});
    return true;
}

bool controlsTakePad(Binding input)
{
    if (bindingAction < 0 || shownState != STATE_CONTROLS)
        return false;
    bindAndSave(input);
    return true;
}

bool controlsCancelWait()
{
    if (bindingAction < 0)
        return false;
    bindingAction = -1;
    return true;
}

void drawControlsScreen()
{
    drawOverlayQuad(plainQuad(kNameX - 15, kFirstRowY - kRowStep * (ACTION_COUNT - 1) - 14, 785, kHeaderY + 30, 0.02f,
                              0.04f, 0.1f, 0.6f));
    textAlpha = screenAlpha;
    textColorMode = 1;
    printSmall(kKeyX, kHeaderY, 1, "Key");
    printSmall(kPadX, kHeaderY, 1, "Pad");
    for (int a = 0; a < ACTION_COUNT; a++) {
        int y = kFirstRowY - kRowStep * a;
        // The table stands still while the list scrolls: its row of the chosen item is lit at once.
        bool highlighted = a == menuSelection;
        if (highlighted)
            drawOverlayQuad(plainQuad(kNameX - 10, float(y - 8), 780, float(y + 24), 0.15f, 0.3f, 0.7f, 0.35f));
        textAlpha = screenAlpha;
        textColorMode = highlighted ? 0 : 1;
        printSmall(kNameX, y, 1, "%s", actionNames[a]);
        // The inputs of the action waiting for a new one pulse.
        if (a == bindingAction)
            textAlpha = screenAlpha * (0.6f + 0.4f * std::sin(menuClock * 2.0f));
        printSmall(kKeyX, y, 1, "%s", bindingName(controls.slot[a][kKeySlot]).c_str());
        printSmall(kPadX, y, 1, "%s", padInputs(a).c_str());
    }
    textAlpha = screenAlpha;
    textColorMode = 0;
    if (bindingAction >= 0) {
        printSmall(175, 70, 1, "Press a key or a pad button for %s", actionNames[bindingAction]);
        printSmall(175, 45, 1, "(a click leaves it as it is)");
    }
}

void traceControlsScreenFields(TraceLine &line)
{
    if (shownState != STATE_CONTROLS && gameState != STATE_CONTROLS)
        return;
    line.field("bindingAction", bindingAction);
    std::string list = "[";
    for (int a = 0; a < ACTION_COUNT; a++) {
        list += a ? ",[" : "[";
        for (int s = 0; s < kBindingSlots; s++)
            list += (s ? ",\"" : "\"") + bindingName(controls.slot[a][s]) + "\"";
        list += "]";
    }
    line.fieldRaw("controls", list + "]");
}
