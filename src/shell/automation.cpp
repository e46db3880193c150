#include "shell/automation.h"
#include "audio/audio.h"
#include "frontend/frontend.h"
#include "platform/png_write.h"
#include "platform/sys_files.h"
#include "shell/shell.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

Automation automation;

static const int MAX_EVENTS = 100000;
static std::vector<ScriptEvent> script;
static size_t nextEvent;
static FILE *traceFile;

static const char *helpText =
    "Usage: cobalt-overdrive [flags]\n"
    "Runs from the directory that holds base/.\n"
    "\n"
    "  --windowed               start in a window instead of full screen\n"
    "  --frames N               quit in order (files written, audio closed) after N frames\n"
    "  --fixed-frame-ms MS      the clock advances exactly MS milliseconds per frame\n"
    "  --input FILE             scripted input, one event a line, '#' starts a comment:\n"
    "                             FRAME key down|up VK   (VK a number or a name: UP, SPACE, ESCAPE, F, ...)\n"
    "                             FRAME mouse X Y        (cursor in screen pixels)\n"
    "                             FRAME click            (left button at the cursor)\n"
    "                             FRAME focus on|off\n"
    "                             FRAME close\n"
    "  --screenshot FRAME:PATH  save that frame as a PNG, as the player sees it (repeatable)\n"
    "  --trace PATH             write one JSON object per frame (JSON Lines)\n"
    "  --audio-out PATH         record the game's own mix into a 16-bit stereo WAV\n"
    "  --seed N                 seed the random generator with N instead of the time\n"
    "  --race TRACK[,CAR]       once loading ends, start a quick race on TRACK (1..20) with\n"
    "                           car CAR (0..11; random among the first six when left out)\n"
    "  --auto-answer yes|no     answer every message box without showing it\n"
    "  --no-browser             do not open the statistics page at exit\n"
    "  --help                   this text\n";

static bool parseLong(const char *s, long *out)
{
    char *end;
    long v = std::strtol(s, &end, 10);
    if (end == s || *end)
        return false;
    *out = v;
    return true;
}

int parseCommandLine(int argc, char **argv)
{
    automation = Automation();
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto need = [&](void) -> const char * {
            if (!value) {
                std::fprintf(stderr, "cobalt-overdrive: %s needs a value\n", a.c_str());
                return nullptr;
            }
            i++;
            return value;
        };
        long n;
        if (a == "--help" || a == "-h") {
            std::fputs(helpText, stdout);
            return 0;
        } else if (a == "--windowed") {
            automation.windowed = true;
        } else if (a == "--no-browser") {
            automation.noBrowser = true;
        } else if (a == "--frames") {
            if (!need() || !parseLong(value, &n) || n < 0)
                return 2;
            automation.frames = n;
        } else if (a == "--fixed-frame-ms") {
            if (!need())
                return 2;
            automation.fixedFrameMs = std::atof(value);
            if (automation.fixedFrameMs <= 0)
                return 2;
        } else if (a == "--input") {
            if (!(automation.inputPath = need()))
                return 2;
        } else if (a == "--trace") {
            if (!(automation.tracePath = need()))
                return 2;
        } else if (a == "--audio-out") {
            if (!(automation.audioOutPath = need()))
                return 2;
        } else if (a == "--seed") {
            if (!need() || !parseLong(value, &n))
                return 2;
            automation.seedSet = true;
            automation.seed = unsigned(n);
        } else if (a == "--race") {
            if (!need())
                return 2;
            int track = 0, car = -1;
            char extra;
            int got = std::sscanf(value, "%d,%d%c", &track, &car, &extra);
            if (got < 1 || got > 2 || track < 1 || track > 20 || (got == 2 && (car < 0 || car > 11))) {
                std::fprintf(stderr, "cobalt-overdrive: --race wants TRACK[,CAR] with TRACK 1..20 and CAR 0..11\n");
                return 2;
            }
            automation.raceTrack = track;
            automation.raceCar = got == 2 ? car : -1;
        } else if (a == "--auto-answer") {
            if (!need())
                return 2;
            std::string v = value;
            if (v != "yes" && v != "no")
                return 2;
            automation.autoAnswer = v == "yes" ? IDYES : IDNO;
        } else if (a == "--screenshot") {
            if (!need())
                return 2;
            const char *colon = std::strchr(value, ':');
            std::string frame = colon ? std::string(value, colon) : "";
            if (!colon || !parseLong(frame.c_str(), &n) || !colon[1] || automation.shotCount == Automation::MAX_SHOTS) {
                std::fprintf(stderr, "cobalt-overdrive: --screenshot wants FRAME:PATH.png\n");
                return 2;
            }
            automation.shots[automation.shotCount++] = {n, colon + 1};
        } else {
            std::fprintf(stderr, "cobalt-overdrive: unknown flag %s (see --help)\n", a.c_str());
            return 2;
        }
    }
    return -1;
}

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

static void postEventsFor(long frame)
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

bool automationStart()
{
    if (automation.inputPath) {
        std::vector<uint8_t> bytes;
        if (!Sys_ReadWholeFile(automation.inputPath, bytes)) {
            std::fprintf(stderr, "cobalt-overdrive: cannot read %s\n", automation.inputPath);
            return false;
        }
        std::string text(bytes.begin(), bytes.end());
        script.resize(MAX_EVENTS);
        int count = 0;
        std::string error;
        if (!parseInputScript(text.c_str(), script.data(), MAX_EVENTS, &count, &error)) {
            std::fprintf(stderr, "cobalt-overdrive: %s: %s\n", automation.inputPath, error.c_str());
            return false;
        }
        script.resize(size_t(count));
    }
    if (automation.tracePath) {
        traceFile = Sys_FOpen(automation.tracePath, "wb");
        if (!traceFile) {
            std::fprintf(stderr, "cobalt-overdrive: cannot write %s\n", automation.tracePath);
            return false;
        }
    }
    nextEvent = 0;
    automation.frame = 0;
    postEventsFor(0);
    return true;
}

static void saveScreenshot(const std::string &path)
{
    int w, h;
    Sys_GetWindowSize(&w, &h);
    if (w <= 0 || h <= 0)
        return;
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 3), flipped(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    size_t row = size_t(w) * 3;
    for (int y = 0; y < h; y++)
        std::memcpy(&flipped[size_t(y) * row], &pixels[size_t(h - 1 - y) * row], row);
    if (!Sys_WritePng(path.c_str(), w, h, 3, flipped.data()))
        std::fprintf(stderr, "cobalt-overdrive: cannot write %s\n", path.c_str());
}

void TraceLine::fieldRaw(const char *name, const std::string &json)
{
    text += text.empty() ? "{" : ",";
    text += "\"";
    text += name;
    text += "\":";
    text += json;
}

void TraceLine::field(const char *name, double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    fieldRaw(name, buf);
}

void TraceLine::field(const char *name, int value) { fieldRaw(name, std::to_string(value)); }
void TraceLine::field(const char *name, bool value) { fieldRaw(name, value ? "true" : "false"); }

static void writeTrace()
{
    TraceLine line;
    line.field("frame", int(automation.frame));
    line.field("clockMs", Sys_ClockMs());
    line.field("frameTime", double(frameTime));
    line.field("fps", double(fps));
    line.field("gameState", gameState);
    line.field("shownState", shownState);
    line.field("screenFade", double(screenFade));
    line.field("loadingPhase", loadingPhase);
    line.field("loadingClock", double(loadingClock));
    line.field("windowActive", windowActive);
    line.field("showFps", showFps);
    line.field("cameraMode", cameraMode);
    line.field("mouseX", mouseX);
    line.field("mouseY", mouseY);
    line.field("musicFade", double(musicFade));
    line.field("messageBoxes", Sys_BoxCount());
    std::string plays = "[";
    for (int i = 0; i < SAMPLE_COUNT; i++)
        plays += (i ? "," : "") + std::to_string(samplePlayCount[i]);
    line.fieldRaw("soundPlays", plays + "]");
    traceRaceFields(line);
    line.text += "}\n";
    std::fputs(line.text.c_str(), traceFile);
}

void automationEndFrame()
{
    for (int i = 0; i < automation.shotCount; i++)
        if (automation.shots[i].frame == automation.frame)
            saveScreenshot(automation.shots[i].path);
    if (traceFile)
        writeTrace();
    Sys_AdvanceFrameClock();
    renderAudio(Sys_ClockMs());
    automation.frame++;
    postEventsFor(automation.frame);
    if (automation.frames >= 0 && automation.frame == automation.frames)
        Sys_PostQuitMessage(0);
}

void automationFinish()
{
    if (traceFile)
        std::fclose(traceFile);
    traceFile = nullptr;
}
