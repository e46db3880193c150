// Race simulation: set-up and step, vehicle model, computer drivers, race progress, chase camera.
#pragma once

extern bool countdownActive; // set when a level is loaded, cleared 6 s into the start overlay
extern bool raceFinished;    // the player has finished
extern float overlayTimer;   // seconds of the start and results overlays
extern int playerPlace;      // 1-based
extern float raceClock, lapClock;
extern float playerSpeed;    // length of the player's body velocity
extern float cameraPosition[3];

void raceStep();
