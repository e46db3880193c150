// Scripted input: a small text file of events by frame number, posted into the same message
// queue the window system fills, so a script plays the game exactly as a player would.
#include "common/controls.h"
#include "platform/sys.h"
#include "platform/sys_files.h"
#include "platform/sys_pad.h"
#include "shell/automation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <strings.h>
#include <vector>

static const int MAX_EVENTS = 100000;
static std::vector<ScriptEvent> script;
static size_t nextEvent;

unsigned virtualKeyFromName(const std::string &name)
{
    std::string n;
    for (char c : name)
        n += char(std::toupper(static_cast<unsigned char>(c)));
    if (n.empty())
        return 0;
    char *end;
    long v = std::strtol(n.c_str(), &end, 0);
    if (!*end && end != n.c_str())
        return v > 0 && v < 256 ? unsigned(v) : 0;
    if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0])))
        return unsigned(n[0]);
    if (n.size() >= 2 && n[0] == 'F' && std::isdigit(static_cast<unsigned char>(n[1]))) {
        int f = std::atoi(n.c_str() + 1);
        return f >= 1 && f <= 12 ? VK_F1 + unsigned(f - 1) : 0;
    }
    // The names the Controls screen shows, and a few more a script writer reaches for.
    if (unsigned vk = keyFromName(n))
        return vk;
    static const struct {
        const char *name;
        unsigned vk;
    } aliases[] = {{"ESC", VK_ESCAPE}, {"RETURN", VK_RETURN}, {"CONTROL", VK_CONTROL}};
    for (const auto &e : aliases)
        if (n == e.name)
            return e.vk;
    return 0;
}

namespace {

const char *const padAxisNames[PAD_AXIS_COUNT] = {"LEFTX", "LEFTY", "RIGHTX", "RIGHTY", "LT", "RT"};

int padAxisFromName(const std::string &name)
{
    for (int a = 0; a < PAD_AXIS_COUNT; a++)
        if (strcasecmp(name.c_str(), padAxisNames[a]) == 0)
            return a;
    return -1;
}

// "pad N connect|disconnect", "pad N down|up BUTTON", "pad N axis AXIS VALUE".
const char *parsePadEvent(std::istringstream &words, ScriptEvent &e)
{
    std::string verb, a;
    if (!(words >> e.pad >> verb) || e.pad < 1 || e.pad > kScriptPads)
        return "expected: pad N (1..8) connect|disconnect|down|up|axis";
    if (verb == "connect" || verb == "disconnect") {
        e.message = verb == "connect" ? SCRIPT_PAD_CONNECT : SCRIPT_PAD_DISCONNECT;
    } else if (verb == "down" || verb == "up") {
        e.message = verb == "down" ? SCRIPT_PAD_DOWN : SCRIPT_PAD_UP;
        int button = words >> a ? padButtonFromName(a) : -1;
        if (button < 0)
            return "unknown pad button";
        e.wParam = unsigned(button);
    } else if (verb == "axis") {
        e.message = SCRIPT_PAD_AXIS;
        int axis = words >> a ? padAxisFromName(a) : -1;
        if (axis < 0)
            return "expected: pad N axis LEFTX|LEFTY|RIGHTX|RIGHTY|LT|RT VALUE";
        e.wParam = unsigned(axis);
        bool trigger = axis == PAD_LEFT_TRIGGER || axis == PAD_RIGHT_TRIGGER;
        if (!(words >> e.value) || e.value > 1 || e.value < (trigger ? 0 : -1))
            return "expected a value of -1..1 (a trigger 0..1)";
    } else {
        return "unknown pad event";
    }
    return nullptr;
}

// The script's pads by their number in the script, as the platform numbers them.
int scriptPads[kScriptPads + 1] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};

void playPadEvent(const ScriptEvent &e)
{
    int &pad = scriptPads[e.pad];
    switch (e.message) {
    case SCRIPT_PAD_CONNECT:
        if (pad < 0 && (pad = Sys_AttachVirtualPad()) < 0)
            std::fprintf(stderr, "cobalt-overdrive: no virtual pad can be plugged in here\n");
        break;
    case SCRIPT_PAD_DISCONNECT:
        Sys_DetachVirtualPad(pad);
        pad = -1;
        break;
    case SCRIPT_PAD_DOWN:
    case SCRIPT_PAD_UP: Sys_SetVirtualPadButton(pad, int(e.wParam), e.message == SCRIPT_PAD_DOWN); break;
    default: Sys_SetVirtualPadAxis(pad, int(e.wParam), e.value); break;
    }
}

} // namespace

bool parseInputScript(const char *text, ScriptEvent *events, int maxEvents, int *count, std::string *error)
{
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    *count = 0;
    auto bad = [&](const char *why) {
        *error = "line " + std::to_string(lineNo) + ": " + why + ": " + line;
        return false;
    };
    while (std::getline(in, line)) {
        lineNo++;
        std::string body = line.substr(0, line.find('#'));
        std::istringstream words(body);
        std::string frameWord, verb;
        if (!(words >> frameWord))
            continue;
        long frame;
        if (!parseLong(frameWord.c_str(), &frame) || frame < 0)
            return bad("the first word must be a frame number");
        if (!(words >> verb))
            return bad("missing event");
        ScriptEvent e = {frame, 0, 0, 0, 0};
        std::string a, b;
        if (verb == "key") {
            if (!(words >> a >> b) || (a != "down" && a != "up"))
                return bad("expected: key down|up VK");
            e.message = a == "down" ? WM_KEYDOWN : WM_KEYUP;
            e.wParam = virtualKeyFromName(b);
            if (!e.wParam)
                return bad("unknown key");
        } else if (verb == "mouse") {
            if (!(words >> e.x >> e.y) || e.x < 0 || e.y < 0)
                return bad("expected: mouse X Y");
            e.message = WM_MOUSEMOVE;
        } else if (verb == "click") {
            e.message = WM_LBUTTONDOWN;
        } else if (verb == "focus") {
            if (!(words >> a) || (a != "on" && a != "off"))
                return bad("expected: focus on|off");
            e.message = WM_ACTIVATE;
            e.wParam = a == "on" ? WA_ACTIVE : WA_INACTIVE;
        } else if (verb == "close") {
            e.message = WM_CLOSE;
        } else if (verb == "pad") {
            if (const char *why = parsePadEvent(words, e))
                return bad(why);
        } else {
            return bad("unknown event");
        }
        if (words >> a)
            return bad("unexpected words after the event");
        if (*count == maxEvents)
            return bad("too many events");
        events[(*count)++] = e;
    }
    // Events keep their order within a frame; frames may be listed out of order.
    std::stable_sort(events, events + *count, [](const ScriptEvent &x, const ScriptEvent &y) { return x.frame < y.frame; });
    return true;
}

void postScriptedInput(long frame)
{
    while (nextEvent < script.size() && script[nextEvent].frame <= frame) {
        const ScriptEvent &e = script[nextEvent++];
        int x, y;
        switch (e.message) {
        case WM_MOUSEMOVE:
            Sys_SetCursorPos(e.x, e.y);
            Sys_PostMessage(WM_MOUSEMOVE, 0, Sys_MakeLParam(unsigned(e.x), unsigned(e.y)));
            break;
        case WM_LBUTTONDOWN:
            Sys_GetCursorPos(&x, &y);
            Sys_PostMessage(WM_LBUTTONDOWN, 0, Sys_MakeLParam(unsigned(x), unsigned(y)));
            Sys_PostMessage(WM_LBUTTONUP, 0, Sys_MakeLParam(unsigned(x), unsigned(y)));
            break;
        case SCRIPT_PAD_CONNECT:
        case SCRIPT_PAD_DISCONNECT:
        case SCRIPT_PAD_DOWN:
        case SCRIPT_PAD_UP:
        case SCRIPT_PAD_AXIS:
            // The pad is moved at once; what it says reaches the game through the system's
            // events before the next frame, as a real pad's would.
            playPadEvent(e);
            break;
        default:
            Sys_PostMessage(e.message, e.wParam, 0);
            break;
        }
    }
}

bool loadInputScript(const char *path)
{
    script.clear();
    nextEvent = 0;
    std::vector<uint8_t> bytes;
    if (!Sys_ReadWholeFile(path, bytes)) {
        Sys_Report("cannot read %s", path);
        return false;
    }
    std::string text(bytes.begin(), bytes.end());
    script.resize(MAX_EVENTS);
    int count = 0;
    std::string error;
    if (!parseInputScript(text.c_str(), script.data(), MAX_EVENTS, &count, &error)) {
        Sys_Report("%s: %s", path, error.c_str());
        script.clear();
        return false;
    }
    script.resize(size_t(count));
    return true;
}
