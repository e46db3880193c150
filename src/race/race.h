// Race simulation: a race's life from its start to its end, set-up and step, vehicle model,
// computer drivers, race progress, chase camera.
#pragma once
#include <string>

struct TraceLine;

// ---- the race to run: chosen in the menus, read when a race begins ----
extern int selectedCar, selectedRace, quickTrack;
extern bool careerRace;
extern float carPower, carMaxSpeed, carSuspension; // the player's car, tuning included
// The car table, one row a car: power, top speed, suspension, front and rear axle distance.
extern float carStats[18][5];
void fillCarStats();

// The longest frame (hundredths of a second) the race, its countdown and its camera move by at
// once: a machine slower than that gets the race in slow motion, never a race that stands still
// or jumps.
constexpr float kLongestStep = 6.4f;

// ---- life cycle ----
// Begins a race on `track` (the one running is ended first): the track's data, the race world
// with the four cars, the race tune, and the flags, clocks and camera of a fresh start.
void beginRace(int track);
extern float raceLoadMs; // real milliseconds the last beginRace took (the click to the first race frame)
// Ends the race: the race sounds and tune stop, the world is destroyed and the track unloaded.
// Nothing happens when no race is loaded.
void endRace();
// Advances the start overlay by the frame: the cars are released at 6 s, the overlay ends at 10 s.
void advanceCountdown();

extern int lapCount;         // laps of a race, set when a race begins
extern bool autopilot;       // the player's car is driven by the computer driver
extern bool countdownActive; // set when a level is loaded, cleared 6 s into the start overlay
extern bool raceFinished;    // the player has finished
extern float overlayTimer;   // seconds of the start and results overlays
extern int playerPlace;      // 1-based
extern float playerSpeed;    // length of the player's body velocity

// Race clocks: minutes, seconds and hundredths.
struct RaceClock {
    int minutes;
    int seconds;
    float hundredths;
};
extern RaceClock raceClock, lapClock, bestLapClock;
// Adds hundredths; a full hundred turns into one second and the excess is dropped.
void advanceClock(RaceClock &clock, float hundredths);
float clockSeconds(const RaceClock &clock);

// Start positions by track number (1..15); other numbers start where track 1 does unless the
// circuit has waypoints to start from (see setupRaceWorld).
void startPosition(int track, float out[3]);
// The race world and the four cars, at the start of the running track.
void setupRaceWorld();
void destroyRaceWorld();
void raceStep();

// The race fields of the per-frame trace, named as the game names them.
void traceRaceFields(TraceLine &line);

// What the last race came to, kept when it ends: the line a run without a window prints.
struct RaceSummary {
    int number;             // races ended since the start, this one included; 0: none yet
    int track, car;         // the track and the player's car model
    bool finished;          // the player completed every lap
    int place;
    float raceSeconds, bestLapSeconds;
    int lapsCompleted[4];   // by every car, the player first
};
extern RaceSummary lastRace;
void keepRaceSummary(); // from the race that is ending
std::string raceSummaryLine(const RaceSummary &summary);

// ---- chase camera ----
extern int cameraMode; // 0 close behind, 1 further back and higher
extern float cameraTargetDir[2], cameraDir[2], orbitAngle;
extern float cameraEye[3], cameraTarget[3]; // what the scene looks from and at
extern float chaseEye[3];  // the eye of camera mode 0; particles face it
extern float viewPoint[3]; // the eye of camera mode 1; the light selection looks from here
extern float viewDir[3];
void resetChaseCamera();
// Once per drawn race frame: moves the camera after the player's car, places the listener and
// the car sounds.
void updateChaseCamera();
