// The command-line flags: one table of rows, each with its name, the value it takes, what it
// sets and its line of help, so --help is printed from the very rows that are parsed.
#include "common/common.h"
#include "frontend/frontend.h"
#include "platform/sys.h"
#include "platform/sys_files.h"
#include "race/race.h"
#include "render/pass_times.h"
#include "shell/automation.h"
#include "shell/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

Automation automation;

bool parseLong(const char *s, long *out)
{
    char *end;
    long v = std::strtol(s, &end, 10);
    if (end == s || *end)
        return false;
    *out = v;
    return true;
}

namespace {

bool setFrames(const char *v)
{
    long n;
    if (!parseLong(v, &n) || n < 0)
        return false;
    automation.frames = n;
    return true;
}

bool setFixedFrameMs(const char *v)
{
    char *end;
    double ms = std::strtod(v, &end);
    if (end == v || *end || !(ms > 0))
        return false;
    automation.fixedFrameMs = ms;
    return true;
}

bool setSeed(const char *v)
{
    long n;
    if (!parseLong(v, &n))
        return false;
    randomSeedSet = true;
    randomSeed = unsigned(n);
    return true;
}

bool setRace(const char *v)
{
    int track = 0, car = -1;
    char extra;
    int got = std::sscanf(v, "%d,%d%c", &track, &car, &extra);
    if (got < 1 || got > 2 || track < 1 || track > 20 || (got == 2 && (car < 0 || car > 11)))
        return false;
    autoRaceTrack = track;
    autoRaceCar = got == 2 ? car : -1;
    return true;
}

bool setCareerRaces(const char *v)
{
    long n;
    if (!parseLong(v, &n) || n < 1 || n > 1000000)
        return false;
    autoCareerRaces = int(n);
    return true;
}

bool setAutoAnswer(const char *v)
{
    if (std::strcmp(v, "yes") != 0 && std::strcmp(v, "no") != 0)
        return false;
    automation.autoAnswer = std::strcmp(v, "yes") == 0 ? IDYES : IDNO;
    return true;
}

bool addScreenshot(const char *v)
{
    const char *colon = std::strchr(v, ':');
    long n;
    if (!colon || !colon[1] || !parseLong(std::string(v, colon).c_str(), &n) ||
        automation.shotCount == Automation::MAX_SHOTS)
        return false;
    automation.shots[automation.shotCount++] = {n, colon + 1};
    return true;
}

struct Flag {
    const char *name;
    const char *value;              // what the help calls the value; null: a switch
    bool (*set)(const char *value); // false: the value is refused
    const char *help;               // lines after the first start with a newline
};

const Flag kFlags[] = {
    {"--windowed", nullptr, [](const char *) { return automation.windowed = true; },
     "start in a window instead of full screen"},
    {"--frames", "N", setFrames, "quit in order (files written, audio closed) after N frames"},
    {"--fixed-frame-ms", "MS", setFixedFrameMs, "the clock advances exactly MS milliseconds per frame"},
    {"--input", "FILE", [](const char *v) { return (automation.inputPath = v) != nullptr; },
     "scripted input, one event a line, '#' starts a comment:\n"
     "  FRAME key down|up VK   (VK a number or a name: UP, SPACE, ESCAPE, F, ...)\n"
     "  FRAME mouse X Y        (cursor in screen pixels)\n"
     "  FRAME click            (left button at the cursor)\n"
     "  FRAME focus on|off\n"
     "  FRAME close\n"
     "  FRAME pad N connect|disconnect   (virtual pad N, 1..8)\n"
     "  FRAME pad N down|up BUTTON       (A, B, X, Y, BACK, START, LB, RB,\n"
     "                                    DPAD_UP, DPAD_LEFT, ...)\n"
     "  FRAME pad N axis AXIS VALUE      (LEFTX, LEFTY, RIGHTX, RIGHTY: -1..1;\n"
     "                                    LT, RT: 0..1)"},
    {"--screenshot", "FRAME:PATH", addScreenshot, "save that frame as a PNG, as the player sees it (repeatable)"},
    {"--trace", "PATH", [](const char *v) { return (automation.tracePath = v) != nullptr; },
     "write one JSON object per frame (JSON Lines)"},
    {"--audio-out", "PATH", [](const char *v) { return (automation.audioOutPath = v) != nullptr; },
     "record the game's own mix into a 16-bit stereo WAV"},
    {"--seed", "N", setSeed, "seed the random generator with N instead of the time"},
    {"--race", "TRACK[,CAR]", setRace,
     "once loading ends, start a quick race on TRACK (1..20) with\n"
     "car CAR (0..11; random among the first six when left out)"},
    {"--career", "N", setCareerRaces,
     "once loading ends, play N career races back to back without the\n"
     "menus: the open races in turn (1, 2, .. as far as the career has\n"
     "opened them, then 1 again) with the selected car; each result is\n"
     "booked and saved as after a race chosen in the menus"},
    {"--auto-answer", "yes|no", setAutoAnswer, "answer every message box without showing it"},
    {"--no-browser", nullptr, [](const char *) { return automation.noBrowser = true; },
     "do not open the statistics page at exit"},
    {"--autopilot", nullptr, [](const char *) { return autopilot = true; },
     "the computer drives the player's car, as it drives the others"},
    {"--headless", nullptr, [](const char *) { return automation.headless = true; },
     "no window, no drawing, sound into a silent device: the game runs as\n"
     "fast as it can under --fixed-frame-ms; prints one line on how each\n"
     "race went; after a --race or a --career run it quits back at the menu"},
    {"--pass-times", nullptr, [](const char *) { return passTiming = true; },
     "time each pass of a race frame (reflection, scene, post-processing,\n"
     "HUD, swap) into the trace's passMs and passFragments; waits for the\n"
     "renderer at each pass, so frames run a little slower"},
};

void printHelp()
{
    std::printf("Usage: cobalt-overdrive [flags]\n\n"
                "The game's data is the folder base/, looked for in the working folder, then in the\n"
                "program's own folder, then in ../share/cobalt-overdrive beside that folder (where an\n"
                "install puts it); the settings and the career are saved in the base/ found.\n"
                "Exit status: 0 after an orderly quit; 1 when the game cannot start (no base/, no\n"
                "window, the graphics cannot be set up); 2 for a flag, input script or output file it\n"
                "cannot use. Standard error says what failed, and names every data file the game\n"
                "could not use.\n\n");
    auto row = [](const std::string &left, const char *help) {
        std::printf("  %-24s ", left.c_str());
        for (const char *p = help; *p; p++) {
            std::putchar(*p);
            if (*p == '\n')
                std::printf("%27s", "");
        }
        std::putchar('\n');
    };
    for (const Flag &f : kFlags)
        row(std::string(f.name) + (f.value ? std::string(" ") + f.value : ""), f.help);
    row("--help", "this text");
}

} // namespace

int parseCommandLine(int argc, char **argv)
{
    // Every run of the parser starts from the defaults, whatever an earlier command line set.
    automation = Automation();
    randomSeedSet = false;
    autoRaceTrack = 0;
    autoRaceCar = -1;
    autoCareerRaces = autoCareerRacesStarted = 0;
    autopilot = false;
    for (int i = 1; i < argc; i++) {
        const char *name = argv[i];
        if (!std::strcmp(name, "--help") || !std::strcmp(name, "-h")) {
            printHelp();
            return 0;
        }
        const Flag *flag = nullptr;
        for (const Flag &f : kFlags)
            if (!std::strcmp(name, f.name))
                flag = &f;
        if (!flag) {
            Sys_Report("unknown flag %s (see --help)", name);
            return EXIT_BAD_COMMAND_LINE;
        }
        const char *value = "";
        if (flag->value) {
            if (i + 1 >= argc) {
                Sys_Report("%s needs a value (%s)", name, flag->value);
                return EXIT_BAD_COMMAND_LINE;
            }
            value = argv[++i];
        }
        if (!flag->set(value)) {
            Sys_Report("%s wants %s, not '%s'", name, flag->value, value);
            return EXIT_BAD_COMMAND_LINE;
        }
    }
    if (autoRaceTrack && autoCareerRaces) {
        Sys_Report("--race and --career cannot be used together");
        return EXIT_BAD_COMMAND_LINE;
    }
    return -1;
}
