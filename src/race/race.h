// Race simulation: set-up and step, vehicle model, computer drivers, race progress, chase camera.
#pragma once

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

// ---- chase camera ----
extern float cameraTargetDir[2], cameraDir[2], orbitAngle;
extern float chaseEye[3];  // the eye of camera mode 0; particles face it
extern float viewPoint[3]; // the eye of camera mode 1; the light selection looks from here
extern float viewDir[3];
void resetChaseCamera();
// Multiplies the current modelview by the camera's look-at; places the listener and car sounds.
void updateChaseCamera();
