// Command-line flags and the automation they drive: scripted input, fixed frame clock, traces,
// screenshots and recorded sound. Everything enters the game through the same paths as a
// player's input (window messages) and leaves through the same frames.
#pragma once
#include <string>

struct ScriptEvent {
    long frame;
    unsigned message;
    unsigned long wParam;
    int x, y; // mouse position for moves
};

struct Automation {
    long frames = -1;          // orderly quit after this many frames
    double fixedFrameMs = 0;   // 0: the real clock
    const char *inputPath = nullptr;
    const char *tracePath = nullptr;
    const char *audioOutPath = nullptr;
    bool seedSet = false;
    unsigned seed = 0;
    bool windowed = false;
    bool noBrowser = false;
    int autoAnswer = 0;        // IDYES, IDNO or 0
    int raceTrack = 0;         // --race: quick race on this track once loading ends
    int raceCar = -1;          // and with this car (-1: random, as the menu picks)
    static const int MAX_SHOTS = 64;
    struct {
        long frame;
        std::string path;
    } shots[MAX_SHOTS];
    int shotCount = 0;
    long frame = 0;            // frames drawn so far
};
extern Automation automation;

// Returns -1 to go on, otherwise the exit code (after --help, or a malformed command line).
int parseCommandLine(int argc, char **argv);
// Parses a script; on error returns false with a message naming the line.
bool parseInputScript(const char *text, ScriptEvent *events, int maxEvents, int *count, std::string *error);
// Virtual-key code for a name such as UP, SPACE, F or 0x26; 0 when unknown.
unsigned virtualKeyFromName(const std::string &name);

bool automationStart();     // after the window opened: trace file, script, first frame's input
void automationEndFrame();  // after each frame is drawn, before the buffers swap
void automationFinish();

// One JSON object per line; subsystems add their own fields to each frame's line.
struct TraceLine {
    std::string text;
    void field(const char *name, double value);
    void field(const char *name, int value);
    void field(const char *name, bool value);
    void fieldRaw(const char *name, const std::string &json);
};
void traceRaceFields(TraceLine &line);
