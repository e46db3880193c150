// Running the game unattended: the command-line flags, scripted input, the per-frame trace and
// screenshots. Everything enters the game through the same paths as a player's input (window
// messages) and leaves through the same frames.
#pragma once
#include <string>

// What the flags set that belongs to the shell itself; the others set their subsystem's values.
struct Automation {
    long frames = -1;          // orderly quit after this many frames
    double fixedFrameMs = 0;   // 0: the real clock
    const char *inputPath = nullptr;
    const char *tracePath = nullptr;
    const char *audioOutPath = nullptr;
    bool windowed = false;
    bool noBrowser = false;
    bool headless = false;     // no window, no GL, nothing drawn
    int autoAnswer = 0;        // IDYES, IDNO or 0
    static const int MAX_SHOTS = 64;
    struct {
        long frame;
        std::string path;
    } shots[MAX_SHOTS];
    int shotCount = 0;
    long frame = 0;            // frames drawn so far
};
extern Automation automation;

// ---- flags ----
// Returns -1 to go on, otherwise the exit code (after --help, or a malformed command line).
int parseCommandLine(int argc, char **argv);
// A whole decimal number and nothing after it.
bool parseLong(const char *s, long *out);

// ---- scripted input ----
struct ScriptEvent {
    long frame;
    unsigned message;
    unsigned long wParam;
    int x, y; // mouse position for moves
};
// Parses a script; on error returns false with a message naming the line.
bool parseInputScript(const char *text, ScriptEvent *events, int maxEvents, int *count, std::string *error);
// Virtual-key code for a name such as UP, SPACE, F or 0x26; 0 when unknown.
unsigned virtualKeyFromName(const std::string &name);
// Reads --input's file; false (with a message on standard error) when it cannot be used.
bool loadInputScript(const char *path);
// Posts the script's events of this frame (and any earlier ones not yet posted).
void postScriptedInput(long frame);

// ---- trace and screenshots ----
bool openTrace(const char *path); // false (with a message) when the file cannot be written
void writeTraceLine();            // the frame just drawn
void closeTrace();
void takeScreenshots(long frame); // those asked for this frame
