// Values the renderer reads or sets that belong to other subsystems. They are declared here
// only until the owning subsystem's header exists; then this file includes that header instead.
#pragma once

// Front end
extern int gameState;
extern int selectedCar;
extern int selectedRace;
extern float menuClock;
extern int screenWidth;
extern int screenHeight;
extern int offscreenWidth;
extern int offscreenHeight;
extern float overlayTimer;
extern bool countdownActive;

// Race: the player car's speed, which widens the field of view.
extern float playerSpeed;

// Shell: frame clock.
extern float frameTime;
void timerInit();

// Effects: loads the twelve per-car particle emitters (fire, smoke, dust for cars 0 to 3).
void loadCarEffects();
