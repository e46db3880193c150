// Front end: game states and frame dispatch, menu screens, settings, career, HUD and results.
#pragma once

// ---- game states ----
enum {
    STATE_RACING = 0,
    STATE_MAIN_MENU = 1,
    STATE_CAR_SELECT = 2,
    STATE_PAUSE = 4,
    STATE_OPTIONS = 5,
    STATE_CAREER_MENU = 20,
    STATE_RACE_SELECT = 21,
    STATE_TUNING = 29,
    STATE_QUIT_QUESTION = 90,
};

extern int gameState;  // the requested state
extern int shownState; // the menu screen being drawn; follows gameState through the fade
extern float screenFade, screenAlpha;
extern int menuSelection, menuItemCount;
extern float menuScroll;
extern float menuClock;
extern bool loadingPhase;
extern float loadingClock;
extern float musicFade;
extern bool menuMusicPending;
extern int selectedCar, selectedRace, quickTrack;
extern bool careerRace, awardPending;
extern float carPower, carMaxSpeed, carSuspension;

bool renderFrame();
// The quick race: track and car (car < 0 picks one of the first six), as the main menu starts it.
void startQuickRace(int track, int car);
void updateScreenFade();

// ---- menus ----
void drawMenuScreens();
bool menuClick(); // true when a button or area was hit
void menuHover();

// ---- settings (".\base\menu.inf") ----
extern int resolutionIndex, screenWidth, screenHeight, colorBits, depthBits;
extern bool soundOn, musicOn;
extern int mouseSensitivity;
extern int optionsResolutionIndex;
extern bool optionsAccepted;
extern const char *const settingsPath;
void setDefaultSettings();
// Decodes the file image; a short image leaves the defaults, out-of-range values their defaults.
void decodeSettings(const unsigned char *data, long size);
void encodeSettings(unsigned char out[24]);
void readSettings();
bool writeSettings(); // at exit: applies an accepted resolution first
void screenSizeFromIndex(int index, int *width, int *height);

// ---- career ("base/career.inf") ----
struct Career {
    bool carOpen[18];
    int tuningBought[18][6];
    struct {
        bool flag;
        int bestPlace;
    } raceSlot[24];
    int racesOpen;
    int careerPoints;
    int cash;
    int careerStarted;
};
extern Career career;
extern int careerEntryMarker; // copied into careerStarted by New game
extern float carStats[18][5];
extern bool newCarOpened;
extern const char *const careerPath;
void decodeCareer(const unsigned char *data, long size);
void encodeCareer(unsigned char out[712]);
void readCareer();
bool writeCareer();
void newCareer();
void fillCarStats();
void carValues(int car);

// ---- HUD and results ----
void drawHud();
void drawResults();
