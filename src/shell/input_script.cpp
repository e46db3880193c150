// Scripted input: a small text file of events by frame number, posted into the same message
// queue the window system fills, so a script plays the game exactly as a player would.
#include "platform/sys.h"
#include "platform/sys_files.h"
#include "shell/automation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
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
    static const struct {
        const char *name;
        unsigned vk;
    } names[] = {
        {"UP", VK_UP}, {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT},
        {"SPACE", VK_SPACE}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE}, {"RETURN", VK_RETURN},
        {"ENTER", VK_RETURN}, {"TAB", VK_TAB}, {"SHIFT", VK_SHIFT}, {"CONTROL", VK_CONTROL},
        {"CTRL", VK_CONTROL}, {"ALT", VK_MENU}, {"BACKSPACE", VK_BACK}, {"PAUSE", VK_PAUSE},
    };
    for (const auto &e : names)
        if (n == e.name)
            return e.vk;
    return 0;
}

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
