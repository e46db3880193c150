// Front end: game states and frame dispatch, menu screens, options, career, HUD and results.
#pragma once
#include "formats/data_files.h"

struct TraceLine;

// ---- game states ----
enum {
    STATE_RACING = 0,
    STATE_MAIN_MENU = 1,
    STATE_CAR_SELECT = 2,
    STATE_PAUSE = 4,
    STATE_OPTIONS = 5,
    STATE_CONTROLS = 6,
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
// Career races to play one after another without the menus (0: none), and how many have started.
// Each is the open race after the one before, in turn (1, 2, .. racesOpen, then 1 again), with
// the selected car; its result is booked and saved as the menus' races are.
extern int autoCareerRaces, autoCareerRacesStarted;
void startNextCareerRace();

bool renderFrame();
// The quick race: track and car (car < 0 picks one of the first six), as the main menu starts it.
void startQuickRace(int track, int car);
// A career race on selectedRace with the selected car and its packets; its result is booked.
void startCareerRace();
// Leaves a race for the menus (results, the pause menu's exit), after gameState has been set to
// the menu: the race ends and the menu tune waits for a smooth frame rate again.
void leaveRace();
// The pause menu over a running race, and back to the race from it ("Continue"): the menus'
// pictures a race lets go come back while it is open.
void pauseRace();
void resumeRace();
void updateScreenFade();
// Viewport and projection for the window's size: a speed-dependent wide view in a race, a
// narrow one in the menus.
void fitSceneToWindow(int width, int height);
// The front end's first state once the window and GL are up: the main menu, car 0, race 1.
void enterMainMenu();

extern bool quitRequested; // the quit question was answered "Yes": the main loop ends

// ---- menus ----
// A click and hover area in cursor coordinates (y from the top), bounds inclusive.
struct MenuArea {
    int x0, x1, y0, y1;
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};
enum {
    HOVER_UP_ARROW = 0,
    HOVER_DOWN_ARROW = 1,
    HOVER_SELECT_BAR = 2,
    HOVER_PACKET_1 = 3, // ... packet 6 at 8
    HOVER_COUNT = 9,
};
extern const MenuArea buttonAreas[3]; // up arrow, down arrow, select bar
// A tuning packet's button (0..5): its centre on the screen and its area.
void packetCentre(int packet, float *x, float *y);
MenuArea packetArea(int packet);
extern bool hoverFlags[HOVER_COUNT];
extern int tuningState[6]; // of the selected car: 0 locked, 1 can be bought, 2 bought
extern int packetFocus;    // the packet the keyboard points at in the tuning screen, -1: none
extern float raceSelectClock;

void drawMenuScreens();
// The list's logic: sets menuItemCount, eases the scroll, and in the race select screen chooses
// the highlighted race. Runs every menu frame, drawn or not.
void updateMenuList(int count);
// updateMenuList, then draws the items of shownState and the three buttons.
void drawMenuList(int count);
void easeMenuScroll();
bool menuClick(); // true when a button or area was hit
void menuHover();
// After every handled click: the hover flags cleared, the random generator reseeded.
void menuClickReset();
// Keyboard navigation over the same menus: Up and Down as the arrows, Enter as the select bar,
// Escape as a screen's Back item, Left and Right step the car (or the packet in the tuning
// screen). True when the key did something.
bool menuKey(unsigned virtualKey);
// The item count and texts of a screen's list (race select counts the open races).
int menuItemTotal(int state);
void traceMenuFields(TraceLine &line);

// ---- options ----
enum { OPTION_RESOLUTION, OPTION_COLOR_DEPTH, OPTION_DEPTH_BUFFER, OPTION_SOUND, OPTION_MUSIC, OPTION_ROWS };
MenuArea optionRowArea(int row);
void drawOptionsScreen();
bool optionsClick(int x, int y); // true when a row was hit

// ---- controls ----
// The action waiting on the Controls screen for its new input, -1 when none is.
extern int bindingAction;
// An input while the Controls screen waits: it becomes the waiting action's and is saved (a key
// held down and repeating is not a new press). False when nothing waits: the input does what it
// does elsewhere in the menus.
bool controlsTakeKey(unsigned virtualKey, bool repeat);
struct Binding;
bool controlsTakePad(Binding input);
// A click while the screen waits leaves the action as it was; true when something waited.
bool controlsCancelWait();
// The pad in the menus (its button presses and stick moves, -1..1): the d-pad and the left stick
// as the arrow keys, A as Enter, B as Escape.
void menuPadButton(int button);
void menuPadAxis(int axis, float value);
// The bindings and the waiting action, while the Controls screen is on the way or shown.
void traceControlsScreenFields(TraceLine &line);

// ---- career ("base/career.inf"; the record and its file layout in formats/data_files.h) ----
extern Career career;
extern int careerEntryMarker; // copied into careerStarted by New game
extern bool newCarOpened;
extern const char *const careerPath;
// Decodes a file image into `career`; a short one gives the record New game starts from.
// Returns what was wrong with it (DATA_FILE_SHORT, DATA_FILE_OUT_OF_RANGE).
unsigned decodeCareer(const unsigned char *data, long size);
void readCareer();
// Saves the whole record or nothing; false (and a line on standard error) when it cannot.
bool writeCareer();
void newCareer();
void carValues(int car);
// The six packets of a car as the tuning screen offers them: bought (2), affordable in order with
// the cash (1), locked (0).
void packetStates(int car, int out[6]);
// Buys packet (0..5) for the car when it is on offer: 350 from the cash. False otherwise.
bool buyPacket(int car, int packet);
constexpr int kPacketPrice = 350;
constexpr int kLastCarIndex = 11; // the highest car the chooser reaches
// The finished career race's place booked into the career, once, by the results screen.
void bookRaceResult();

// ---- HUD and results ----
// Once per race frame after the post-processing: the picture, then the HUD over it.
void drawHud();
// Once per race frame after the step while the player has finished: shows the place, books the
// career result once and after 10 s returns to the menus. Its logic runs without a window too.
void drawResults();
// The rev needle's angle in degrees (counter-clockwise) for an engine speed.
float revNeedleAngle(float rpm);
// The lap the HUD shows: 1 until the first full lap is under way.
int shownLap(int lap);
// The bend arrow of this moment: the turn of the route at the player's next waypoint (radians,
// positive to the left), and how the arrow is drawn. Hidden while the cars are held, after the
// finish and while the player travels 45 degrees or more off the route.
struct BendArrow {
    bool shown;
    float turn;
    float alpha;
    float margin; // added to the arrow's half size; pulses on sharp bends
    float red, green;
};
BendArrow bendArrow();
// False in a run without a window: every frame's logic runs, nothing is drawn.
bool framesDrawn();
