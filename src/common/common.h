// What every subsystem reads and none owns alone: the frame clock, the keys and the menu mouse,
// the settings record with its file, the random seed, and the line builder of the per-frame
// trace. The shell feeds them; nothing here knows a game state.
#pragma once
#include <string>

// Every race has the player's car and three computer cars; the race and the effects keep their
// per-car state by this count.
constexpr int NUM_CARS = 4;

// ---- frame clock ----
extern float frameTime; // smoothed frame duration in hundredths of a second (1.0 = 10 ms)
extern float fps;
void timerInit();
float timerGetTime(); // milliseconds since timerInit
// Once per frame: frameTime follows the measured frame by at most 0.1 per frame.
void updateFrameClock();

// ---- keys and mouse ----
extern bool keyDown[256];  // by virtual-key code
extern int mouseX, mouseY; // cursor on the virtual 800 x 600 menu screen, y from the top
// Reads the cursor and scales it to menu coordinates by the resolution's factor.
void updateMousePosition();
float mouseScale(int resolutionIndex);

// ---- settings (".\base\menu.inf") ----
extern int resolutionIndex, screenWidth, screenHeight, colorBits, depthBits;
extern bool soundOn, musicOn;
extern int mouseSensitivity;
// The options screen's choice of resolution, saved at exit once accepted. The running window
// keeps the mode it was opened in (screenWidth, screenHeight) until the next start.
extern int optionsResolutionIndex;
extern bool optionsAccepted;
extern const char *const settingsPath;
void setDefaultSettings();
// Decodes the file image; a short image leaves the defaults, out-of-range values their defaults.
// Returns what was wrong with it (DATA_FILE_SHORT, DATA_FILE_OUT_OF_RANGE of formats/data_files.h).
unsigned decodeSettings(const unsigned char *data, long size);
void encodeSettings(unsigned char out[24]);
void readSettings();
// At exit: applies an accepted resolution first. False (and a line on standard error) when the
// file cannot be written.
bool writeSettings();
void screenSizeFromIndex(int index, int *width, int *height);
// The display lists width x height (at any depth and rate).
bool isModeAvailable(int width, int height);
// The resolution after `index` in the cycle 640x480 .. 1600x1200 that `available` offers, each
// mode tried once; index itself when none is.
int nextAvailableMode(int index, bool (*available)(int width, int height));

// ---- random numbers ----
// Every seeding of the C random generator goes through here, so a seed given at start (tests,
// recorded runs) makes the whole game repeat.
extern bool randomSeedSet;
extern unsigned randomSeed;
void seedRandomGenerator();

// ---- per-frame trace ----
// One JSON object per line; each subsystem adds its own fields under the game's names.
struct TraceLine {
    std::string text;
    void field(const char *name, double value);
    void field(const char *name, int value);
    void field(const char *name, bool value);
    void fieldRaw(const char *name, const std::string &json);
};
