// Front end: game states and frame dispatch, menu screens, options, career, HUD and results.
#pragma once
#include "formats/data_files.h"

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
extern bool menuMusicPending; // the menu tune starts once the frame rate is smooth
extern bool showFps;          // the frame-rate read-out
extern bool awardPending;
// A quick race to start as soon as loading ends (track 0: none); car < 0 picks as the menu does.
extern int autoRaceTrack, autoRaceCar;

bool renderFrame();
// The quick race: track and car (car < 0 picks one of the first six), as the main menu starts it.
void startQuickRace(int track, int car);
// Leaves a race for the menus (results, the pause menu's exit), after gameState has been set to
// the menu: the race ends and the menu tune waits for a smooth frame rate again.
void leaveRace();
void updateScreenFade();
// Viewport and projection for the window's size: a speed-dependent wide view in a race, a
// narrow one in the menus.
void fitSceneToWindow(int width, int height);
// The front end's first state once the window and GL are up: the main menu, car 0, race 1.
void enterMainMenu();

// ---- menus ----
void drawMenuScreens();
bool menuClick(); // true when a button or area was hit
void menuHover();
// After every handled click: the hover flags cleared, the random generator reseeded.
void menuClickReset();

// ---- career ("base/career.inf"; the record and its file layout in formats/data_files.h) ----
extern Career career;
extern int careerEntryMarker; // copied into careerStarted by New game
extern bool newCarOpened;
extern const char *const careerPath;
// Decodes a file image into `career`; a short one gives the record New game starts from.
// Returns what was wrong with it (DATA_FILE_SHORT, DATA_FILE_OUT_OF_RANGE).
unsigned decodeCareer(const unsigned char *data, long size);
void readCareer();
bool writeCareer();
void newCareer();
void carValues(int car);
// The finished career race's place booked into the career, once, by the results screen.
void bookRaceResult();

// ---- HUD and results ----
void drawHud();
void drawResults();
